#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree, unpacks it into a temporary root
# and runs the installed program there without a display: what a user gets from `dpkg -i`.
#   tests/package/package_test.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="$(readlink -f "${1:-build}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }
deb="$(ls "$work"/out/kvanta-8x20_*.deb 2>/dev/null | head -1)"
[ -n "$deb" ] || fail "no package in $work/out"

depends="$(dpkg-deb -f "$deb" Depends)"
for dep in libqt6widgets6 libqt6charts6 fonts-dejavu-core; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done

root="$work/root"
dpkg -x "$deb" "$root"
for f in usr/bin/Kvanta_8x20 usr/share/applications/kvanta-8x20.desktop \
         usr/share/icons/hicolor/scalable/apps/kvanta-8x20.svg \
         usr/share/kvanta-8x20/help/Kvanta_8x20_RUS/index.html usr/bin/Kvanta_8x20_ENU.lng; do
  [ -f "$root/$f" ] || fail "$f is not in the package"
done
grep -qx 'Exec=Kvanta_8x20' "$root/usr/share/applications/kvanta-8x20.desktop" || fail "the menu entry starts something else"
grep -qx 'Icon=kvanta-8x20' "$root/usr/share/applications/kvanta-8x20.desktop" || fail "the menu entry names another icon"

prog="$root/usr/bin/Kvanta_8x20"
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prog" "$@"; }
version="$(run --version)" || fail "--version failed"
expected="Kvanta_8x20 $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ "$version" = "$expected" ] || fail "--version printed '$version', expected '$expected'"
run --help | grep -q -- '--data-dir' || fail "--help does not name --data-dir"

data="$work/data"
run fullrecreate --data-dir "$data" >"$work/batch.log" 2>&1 || { cat "$work/batch.log"; fail "fullrecreate failed"; }
count="$(ls "$data/Prefetchs" | grep -c '^Kvanta_8x20_.*\.dfc$' || true)"
[ "$count" -gt 0 ] || fail "fullrecreate wrote no prefetch files"
[ -s "$data/Prefetchs/Kvanta_8x20_NUMS.dfc" ] || fail "fullrecreate wrote no NUMS prefetch file"

# Without --data-dir the installed program keeps its data in the user's XDG folder, never in its
# bin folder (which root could write).
env -u KVANTA_DATA_DIR -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
  "$prog" fullrecreate >"$work/batch2.log" 2>&1 || { cat "$work/batch2.log"; fail "fullrecreate without --data-dir failed"; }
[ -s "$work/home/.local/share/Kvanta_8x20/Prefetchs/Kvanta_8x20_NUMS.dfc" ] || fail "no data in ~/.local/share/Kvanta_8x20"
# The language modules lie beside the program, named after it.
[ -z "$(ls "$root/usr/bin" | grep -v '^Kvanta_8x20$' | grep -v '^Kvanta_8x20_[A-Z]*\.lng$')" ] || fail "the program wrote into its bin folder"

# Without a display the windowed start says so in one line and fails, instead of Qt aborting.
if run --data-dir "$data" >"$work/start.log" 2>&1; then fail "the windowed start succeeded without a display"; fi
[ "$(wc -l <"$work/start.log")" -eq 1 ] && grep -q 'xvfb-run' "$work/start.log" || { cat "$work/start.log"; fail "no one-line hint without a display"; }

echo "package test: $(basename "$deb") installs; --version, --help and fullrecreate ($count prefetch files) work without a display"
