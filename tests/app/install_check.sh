#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks that the programs run
# from there: every file in place, libraries resolved inside the prefix, and
# the installed zev-convert converting with the engine it loads from the
# prefix (not from the build tree).
#   install_check.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "install_check: $*" >&2; exit 1; }
prog=$prefix/lib/clipwright
for f in bin/zev bin/zev-convert lib/clipwright/zev lib/clipwright/zev-convert \
         lib/clipwright/profile.cfg lib/clipwright/zevhelp.chm lib/clipwright/libtranzo9.so \
         lib/clipwright/libtranzo8.so lib/clipwright/libwmvcore.so lib/clipwright/libzevwin.so \
         lib/clipwright/libzevdshow.so share/clipwright/profile.cfg share/clipwright/zevhelp.chm \
         share/applications/zev.desktop share/icons/hicolor/128x128/apps/zev.png; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
grep -q '^Exec=zev %f$' "$prefix/share/applications/zev.desktop" || fail "desktop entry"

for exe in zev zev-convert; do
  unresolved=$(ldd "$prog/$exe" | grep 'not found' || true)
  [ -z "$unresolved" ] || fail "$exe: $unresolved"
  for lib in libzevwin.so libzevdshow.so; do
    found=$(ldd "$prog/$exe" | awk -v lib="$lib" '$1 == lib { print $3 }')
    [ -n "$found" ] && [ "$(realpath "$found")" = "$(realpath "$prog/$lib")" ] ||
      fail "$exe takes $lib from '$found'"
  done
done

ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=320x240:rate=25:duration=2 \
  -f lavfi -i sine=duration=2 -c:v mpeg4 -c:a aac -shortest "$prefix/clip.mp4"
LD_DEBUG=files "$prefix/bin/zev-convert" "$prefix/clip.mp4" "$prefix/out.wmv" \
  > "$prefix/log.txt" 2> "$prefix/ld.txt" || fail "zev-convert failed: $(tail -3 "$prefix/log.txt")"
engine=$(sed -n 's/.*calling init: \(.*libtranzo9\.so\)$/\1/p' "$prefix/ld.txt" | head -1)
[ -n "$engine" ] && [ "$(realpath "$engine")" = "$(realpath "$prog/libtranzo9.so")" ] ||
  fail "engine loaded from '$engine', not from the prefix"
[ -s "$prefix/out.wmv" ] || fail "no output"
echo "install_check: installed into a prefix and converted from there"
