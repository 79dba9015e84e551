#!/usr/bin/env bash
# Sets up, builds and starts the zev window (extra arguments go to zev, e.g. a
# movie to open). Without a display it says so and runs the command-line
# demo instead: converts a generated 10-second clip (H.264 video and AAC
# audio in MP4) to Windows Media with zev-convert, then shows what ffprobe
# reads in the result (it lists the "Description" tag as "comment"); extra
# arguments then go to zev-convert.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the programs and what they load: the window comes up sooner, and
# ./scripts/test.sh builds the rest.
./scripts/build.sh programs
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/bin/zev "$@"
fi
echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY unset): running the command-line demo instead of zev"
mkdir -p out
src=out/sample.mp4
if [ ! -s "$src" ]; then
  ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i testsrc2=size=640x360:rate=25:duration=10 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=10 \
    -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$src"
fi
./build/bin/zev-convert --begin 2 --end 00:00:08 --size 320x240 --video-kbps 300 --fps 25 \
  "$@" "$src" out/sample.wmv
ffprobe -hide_banner -loglevel error -show_entries \
  format=duration,bit_rate:format_tags=comment:stream=codec_name,width,height,r_frame_rate,sample_rate,channels \
  -of default=noprint_wrappers=1 out/sample.wmv
