#!/usr/bin/env bash
# Builds the Debian package from the build tree with CPack, unpacks it and
# checks that it stands on its own: the layout, RUNPATH that points only
# inside the package, the unpacked zev-convert converting with the engine,
# profile.cfg and libraries of the package (none from the build tree), and
# Depends naming the packages of every library the programs link and the
# GStreamer plugin sets they load.
#   package_check.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1 build=$(realpath "$2") version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_check: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -5 "$work/cpack.log")"
deb=$work/pkg/clipwright_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/pkg")"

outside=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./usr/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
root=$work/root
dpkg-deb -x "$deb" "$root"
prog=$root/usr/lib/clipwright
for f in bin/zev bin/zev-convert lib/clipwright/zev lib/clipwright/zev-convert \
         lib/clipwright/libtranzo9.so lib/clipwright/libtranzo8.so lib/clipwright/libwmvcore.so \
         lib/clipwright/libzevwin.so lib/clipwright/libzevdshow.so \
         lib/clipwright/profile.cfg lib/clipwright/zevhelp.chm \
         share/clipwright/profile.cfg share/clipwright/zevhelp.chm \
         share/applications/zev.desktop share/icons/hicolor/128x128/apps/zev.png; do
  [ -e "$root/usr/$f" ] || fail "missing /usr/$f"
done
[ "$(realpath "$root/usr/bin/zev-convert")" = "$(realpath "$prog/zev-convert")" ] ||
  fail "/usr/bin/zev-convert does not lead to the program's directory"

# Only $ORIGIN: an absolute entry would reach the build tree or the machine
# the package was built on.
for f in "$prog"/zev "$prog"/zev-convert "$prog"/*.so; do
  dyn=$(readelf -d "$f")
  ! grep -q '(RPATH)' <<< "$dyn" || fail "$(basename "$f") has RPATH"
  runpath=$(sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p' <<< "$dyn")
  [ "$runpath" = '$ORIGIN' ] || fail "$(basename "$f") RUNPATH is '$runpath'"
done

# Through the /usr/bin link, with a stored profile: the program finds its
# directory, profile.cfg and engine there.
ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=640x360:rate=25:duration=3 \
  -f lavfi -i sine=duration=3 -c:v mpeg4 -c:a aac -shortest "$work/clip.mp4"
LD_DEBUG=files "$root/usr/bin/zev-convert" --profile "Small screen" "$work/clip.mp4" \
  "$work/out.wmv" > "$work/log.txt" 2> "$work/ld.txt" ||
  fail "zev-convert failed: $(tail -3 "$work/log.txt") $(grep -v '^ *[0-9]*:' "$work/ld.txt" | tail -3)"
engine=$(sed -n 's/.*calling init: \(.*libtranzo9\.so\)$/\1/p' "$work/ld.txt" | head -1)
[ "$(realpath "${engine:-/}")" = "$(realpath "$prog/libtranzo9.so")" ] ||
  fail "engine loaded from '$engine', not from the package"
! grep -q "$build" "$work/ld.txt" || fail "loaded from the build tree: $(grep -m1 "$build" "$work/ld.txt")"
probe=$(ffprobe -v error -show_entries format=format_name:stream=codec_type,width,height \
  -of csv=p=0 "$work/out.wmv" | sort | tr '\n' ' ')
[ "$probe" = "asf audio video,320,240 " ] || fail "ffprobe reads '$probe'"

# Every library the programs and converters link, outside the package, has
# its Debian package among Depends.
depends=$(dpkg-deb -f "$deb" Depends)
dep_names=$(tr ',' '\n' <<< "$depends" | sed 's/^ *//; s/[ (].*//')
has_dep() { grep -qxF "$1" <<< "$dep_names"; }
for p in gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad \
         gstreamer1.0-plugins-ugly gstreamer1.0-libav libchm1; do
  has_dep "$p" || fail "Depends lacks $p: $depends"
done
checked=0
for f in "$prog"/zev "$prog"/zev-convert "$prog"/*.so; do
  for lib in $(readelf -d "$f" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    [ -e "$prog/$lib" ] && continue
    # "name => path (address)", or for the dynamic loader "path (address)"
    path=$(ldd "$f" | awk -v n="$lib" '$1 == n { print $3 } $2 != "=>" && $1 ~ "/" n "$" { print $1 }')
    [ -n "$path" ] || fail "$(basename "$f"): $lib not resolved"
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null ||
            dpkg -S "${path#/usr}" 2>/dev/null) || fail "no package owns $lib ($path)"
    owner=${owner%%:*}
    has_dep "$owner" || fail "Depends lacks $owner (for $lib): $depends"
    checked=$((checked + 1))
  done
done
[ "$checked" -gt 10 ] || fail "only $checked linked libraries found"
echo "package_check: $(basename "$deb") unpacked, converted from there, Depends covers $checked links"
