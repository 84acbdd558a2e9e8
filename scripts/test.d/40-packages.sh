#!/usr/bin/env bash
# The packages: the Linux program installed into a temporary prefix and validated, the .deb made
# and checked, and, where the Windows program has been built in build/windows, its zip.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev desktop-file-utils appstream file unzip
build=build/pkg
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

echo "-- Linux: install and validate"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFNORK_TESTS=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target FnorkTillFnork program_icons
FNORK_REQUIRE_VALIDATORS=1 bash tests/install/check_install.sh "$build" || fail "installation"

echo "-- Linux: the .deb"
rm -rf "$build/packages"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build/packages" >/dev/null
deb=$(ls "$build"/packages/fnork-till-fnork_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = fnork-till-fnork ] || fail "package name '$(field Package)'"
[ "$(field Version)" = "$(sed -n 's/^project(FnorkTillFnork VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
  fail "version '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
id=se.fnork.FnorkTillFnork
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/FnorkTillFnork ./usr/share/applications/$id.desktop \
  ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg; do
  grep -qxF "$f" <<<"$contents" || fail "$f is not in the package"
done
for size in 16 24 32 48 64 128 256; do
  f=./usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  grep -qxF "$f" <<<"$contents" || fail "$f is not in the package"
done
# Depends is computed from the program's libraries: each library it loads comes from a package
# that the package depends on.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
program=$unpacked/usr/bin/FnorkTillFnork
file -b "$program" | grep -q "^ELF .*executable" ||
  fail "the packaged program is not an executable: $(file -b "$program")"
# The package that holds a library file (dpkg knows some by their path before /usr was merged).
owner_of() {
  local path found
  for path in "$1" "${1#/usr}" "/usr$1"; do
    found=$(dpkg -S "$path" 2>/dev/null) && echo "${found%%:*}" && return
  done
}
depends=", $(field Depends),"
for lib in $(objdump -p "$program" | awk '$1 == "NEEDED" {print $2}'); do
  owner=$(owner_of "$(ldd "$program" | awk -v l="$lib" '$1 == l {print $3}')")
  if [ -z "$owner" ] || [[ "$depends" != *", $owner "* && "$depends" != *", $owner,"* ]]; then
    fail "$lib (from ${owner:-no package}) is not covered by Depends: $(field Depends)"
  fi
done
echo "Depends: $(field Depends)"
echo "Recommends: $(field Recommends)"

if [ -f build/windows/FnorkTillFnork.exe ] && [ -f build/windows/CPackConfig.cmake ]; then
  echo "-- Windows: the zip"
  rm -rf "$build/windows"
  cpack --config build/windows/CPackConfig.cmake -G ZIP -B "$build/windows" >/dev/null
  zip=$(ls "$build"/windows/FnorkTillFnork-*-windows.zip)
  top=$(basename "$zip" .zip)
  listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
  [ "$listed" = "$(printf '%s\n' "$top/FnorkTillFnork.exe" "$top/LASMIG.txt")" ] ||
    fail "the zip holds: $listed"
  unzip -q -d "$unpacked/windows" "$zip"
  exe=$unpacked/windows/$top/FnorkTillFnork.exe
  cmp -s "$exe" build/windows/FnorkTillFnork.exe || fail "the zip's program is not the one built"
  file -b "$exe" | grep -q "^PE32+\? executable (GUI)" || fail "not a Windows program: $(file -b "$exe")"
  # It runs from the unpacked folder: every DLL it loads comes with Windows.
  for dll in $(objdump -p "$exe" | awk '/DLL Name:/ {print $3}'); do
    case "${dll,,}" in
      kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | ole32.dll | oleaut32.dll | \
        comctl32.dll | shell32.dll | advapi32.dll | winmm.dll | ucrtbase.dll | api-ms-win-*) ;;
      *) fail "the program needs $dll, which is not in the zip" ;;
    esac
  done
  grep -q "FnorkTillFnork.exe" "$unpacked/windows/$top/LASMIG.txt" || fail "LASMIG.txt"
else
  echo "-- Windows: the zip is skipped, build/windows/FnorkTillFnork.exe has not been built"
fi

[ "$failures" = 0 ] && echo "Packages are complete"
exit "$((failures > 0))"
