#!/usr/bin/env bash
# Installs the build in $1 into a throw-away prefix and checks that the result
# is a complete system installation: program, launcher entry and themed icons.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
expect() {
  if [ ! -s "$prefix/$1" ]; then
    echo "missing after install: $1"
    status=1
  fi
}
expect bin/markvane
expect share/applications/markvane.desktop
expect share/icons/hicolor/scalable/apps/markvane.svg
for size in 16 22 24 32 48 64 128 256; do
  expect "share/icons/hicolor/${size}x${size}/apps/markvane.png"
done
grep -qx 'Exec=markvane' "$prefix/share/applications/markvane.desktop" || {
  echo "the launcher entry does not start markvane"
  status=1
}
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/markvane.desktop" || status=1
fi
ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/markvane" --version | grep -q '^Markvane ' || {
  echo "the installed program does not run"
  status=1
}
exit $status
