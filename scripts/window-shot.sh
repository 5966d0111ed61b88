#!/usr/bin/env bash
# The README's pictures of the main window (docs/screenshot.png, docs/english.png): the program
# started on the synthetic demo archive under Xvfb at 1240x760, as a user first sees it after the
# first-run dialog: the question whether to download new draws over the window. Needs a build
# (scripts/build.sh), xvfb-run and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

shot() {   # shot <output> [window-settings line]
  local out="$1"
  rm -rf "$work/data" && mkdir -p "$work/data"
  build/tools/kvsample "$work/data/Kvanta_8x20.ldr" 2000 8201
  printf '[TFormMain]\r\nFirstRun=0\r\n' >"$work/data/Kvanta_8x20.frm"
  if [ -n "${2:-}" ]; then printf '%s\r\n' "$2" >>"$work/data/Kvanta_8x20.frm"; fi
  xvfb-run -a -s "-screen 0 1240x760x24" bash -c '
    "$0" --data-dir "$1" &
    sleep 12
    import -window root "$2"
    kill $!' build/app/Kvanta_8x20 "$work/data" "$PWD/$out"
  echo "$out"
}

shot docs/screenshot.png
shot docs/english.png Language=1033
