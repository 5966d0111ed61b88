#!/usr/bin/env bash
# Builds the Debian packages from a configured and built tree, checks them with lintian, unpacks
# them into a temporary root and runs the installed programs there without a display: what a
# user gets from `dpkg -i`; the catalogue server is started from its systemd unit's command line.
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
server_deb="$(ls "$work"/out/kvanta-catalog_*.deb 2>/dev/null | head -1)"
[ -n "$server_deb" ] || fail "no server package in $work/out"

# Errors fail; warnings are printed for whoever reads the log.
for d in "$deb" "$server_deb"; do
  lintian --fail-on error --tag-display-limit 0 "$d" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian found errors in $(basename "$d")"; }
  cat "$work/lintian.log"
done

depends="$(dpkg-deb -f "$deb" Depends)"
for dep in libqt6widgets6 libqt6charts6 fonts-dejavu-core; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done

root="$work/root"
dpkg -x "$deb" "$root"
for f in usr/bin/Kvanta_8x20 usr/share/applications/kvanta-8x20.desktop \
         usr/share/icons/hicolor/scalable/apps/kvanta-8x20.svg \
         usr/share/kvanta-8x20/help/Kvanta_8x20_RUS/index.html usr/bin/Kvanta_8x20_ENU.lng \
         usr/share/man/man1/Kvanta_8x20.1.gz; do
  [ -f "$root/$f" ] || fail "$f is not in the package"
done
grep -qx 'Exec=Kvanta_8x20' "$root/usr/share/applications/kvanta-8x20.desktop" || fail "the menu entry starts something else"
grep -qx 'Icon=kvanta-8x20' "$root/usr/share/applications/kvanta-8x20.desktop" || fail "the menu entry names another icon"
desktop-file-validate "$root/usr/share/applications/kvanta-8x20.desktop" || fail "desktop-file-validate refused the menu entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/kvanta-8x20.metainfo.xml" >"$work/appstream.log" 2>&1 \
  || { cat "$work/appstream.log"; fail "appstreamcli refused the metainfo file"; }

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

# The server's package: its program, manual page and unit; nothing in it is started or enabled.
dpkg -x "$server_deb" "$root"
for f in usr/sbin/kvanta-catalog usr/share/man/man8/kvanta-catalog.8.gz lib/systemd/system/kvanta-catalog.service \
         usr/share/doc/kvanta-catalog/copyright; do
  [ -f "$root/$f" ] || fail "$f is not in the server package"
done
[ "$(dpkg-deb -f "$server_deb" Depends | grep -c adduser)" -eq 1 ] || fail "the server package does not depend on adduser"
dpkg-deb -e "$server_deb" "$work/control"
grep -q 'adduser --system' "$work/control/postinst" || fail "postinst makes no system user"
if grep -Eq 'systemctl|deb-systemd-(helper|invoke)' "$work/control/postinst"; then fail "postinst enables or starts the service"; fi
unit="$root/lib/systemd/system/kvanta-catalog.service"
grep -qx 'User=kvanta-catalog' "$unit" || fail "the unit does not run as kvanta-catalog"
# The unit's command line, with the installed program and a database folder of the test's own;
# the options of /etc/default/kvanta-catalog move it to a free port of 127.0.0.1.
exec_start="$(sed -n 's/^ExecStart=//p' "$unit")"
[[ "$exec_start" == /usr/sbin/kvanta-catalog\ *--db\ /var/lib/kvanta-catalog/* ]] || fail "unexpected ExecStart: $exec_start"
mkdir -p "$work/var"
KVANTA_CATALOG_OPTS="--listen 127.0.0.1:0"
read -ra words <<<"${exec_start//\$KVANTA_CATALOG_OPTS/$KVANTA_CATALOG_OPTS}"
words[0]="$root${words[0]}"
words=("${words[@]//\/var\/lib\/kvanta-catalog/$work/var}")
"${words[@]}" 2>"$work/server.log" &
server_pid=$!
port=""
for _ in $(seq 100); do
  port="$(sed -n 's/^kvanta-catalog: serving .* on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/server.log")"
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { kill "$server_pid" 2>/dev/null; cat "$work/server.log"; fail "the packaged server did not start from its unit's command line"; }
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'POST /scripts/sys_getlist.php HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: close\r\n\r\n' >&3
answer="$(cat <&3)"
exec 3<&-
kill -TERM "$server_pid"
wait "$server_pid" || fail "the packaged server did not stop cleanly on SIGTERM"
[[ "$answer" == "HTTP/1.1 200 OK"*"<result></result>" ]] || fail "the packaged server answered: $answer"
[ -f "$work/var/catalog.db" ] || fail "the packaged server kept no database in its folder"

echo "package test: $(basename "$deb") and $(basename "$server_deb") install and pass lintian; --version, --help and fullrecreate ($count prefetch files) work without a display; the server starts from its unit"
