#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a Linux desktop finds there: the
# program, its desktop entry and AppStream metadata (validated by Debian's desktop-file-validate
# and appstreamcli) and the program icon at every size.
# Usage: check_install.sh BUILD_DIR
# Exits with 77 (skipped) where the validators are not installed, unless
# FNORK_REQUIRE_VALIDATORS=1 makes that a failure.
set -euo pipefail
build=$1
id=se.fnork.FnorkTillFnork

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (Debian packages desktop-file-utils and appstream)"
    [ "${FNORK_REQUIRE_VALIDATORS:-0}" = 1 ] && exit 1
    exit 77
  fi
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The program, which tells the desktop which entry its windows belong to.
program=$prefix/bin/FnorkTillFnork
[ -x "$program" ] || fail "no program at bin/FnorkTillFnork"
grep -qF "$id" "$program" || fail "the program does not name its desktop entry $id"

# The desktop entry: the application menu shows it by name, with the icon, under games and
# education, and starts the installed program.
desktop=$prefix/share/applications/$id.desktop
key() { sed -n "s/^$1=//p" "$desktop"; }
if [ -f "$desktop" ]; then
  desktop-file-validate --no-hints "$desktop" || fail "desktop-file-validate rejects $id.desktop"
  [ "$(key Name)" = "Fnork till fnork" ] || fail "Name is '$(key Name)'"
  [[ "$(key Comment)" == *" från prick till prick "* ]] || fail "Comment is '$(key Comment)'"
  [[ ";$(key Categories)" == *";Game;"* && ";$(key Categories)" == *";Education;"* ]] ||
    fail "Categories are '$(key Categories)'"
  [ -x "$prefix/bin/$(key Exec)" ] || fail "Exec '$(key Exec)' is not the installed program"
  [ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)'"
else
  fail "no desktop entry share/applications/$id.desktop"
fi

# The AppStream metadata, valid on its own and together with the desktop entry it launches.
metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate rejects the metadata"
  appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree rejects the tree"
  grep -q "Fnork till fnork är ett prick till prick-spel för barn" "$metainfo" ||
    fail "no Swedish description"
  grep -q '<screenshot type="default">' "$metainfo" && grep -q '<image type="source">https://' \
    "$metainfo" || fail "no screenshot"
else
  fail "no metadata share/metainfo/$id.metainfo.xml"
fi

# The icon in the hicolor theme: the drawing itself and a PNG of the size each folder names.
hicolor=$prefix/share/icons/hicolor
grep -q "<svg" "$hicolor/scalable/apps/$id.svg" 2>/dev/null || fail "no scalable icon"
for size in 16 24 32 48 64 128 256; do
  png=$hicolor/${size}x${size}/apps/$id.png
  if [ ! -f "$png" ]; then
    fail "no ${size}x${size} icon"
    continue
  fi
  # The PNG signature, then the header chunk with width and height, big-endian.
  read -r -a header < <(od -An -tu1 -w24 -N24 "$png")
  width=$(((header[16] << 24) + (header[17] << 16) + (header[18] << 8) + header[19]))
  height=$(((header[20] << 24) + (header[21] << 16) + (header[22] << 8) + header[23]))
  [ "${header[1]}" = 80 ] && [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
    fail "${size}x${size}/apps/$id.png is not a $size x $size PNG"
done

[ "$failures" = 0 ] && echo "Installed files are complete and valid"
exit "$((failures > 0))"
