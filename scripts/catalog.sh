#!/usr/bin/env bash
# Starts a catalogue server for the program on this machine, over a demo database that gets a
# few scenarios and play systems on its first start; the program's default CatalogUrl
# (http://127.0.0.1:8088) finds it. Stop it with Ctrl+C.
#   scripts/catalog.sh                       demo-data/kvanta-catalog.db on 127.0.0.1:8088
#   scripts/catalog.sh --db FILE --listen HOST:PORT [--app-version V --app-url URL]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/server/kvanta-catalog ] || { scripts/deps.sh && scripts/build.sh; }
mkdir -p demo-data
args=("$@")
[[ " $* " == *" --db "* ]] || args=(--db demo-data/kvanta-catalog.db "${args[@]}")
[[ " $* " == *" --listen "* ]] || args=(--listen 127.0.0.1:8088 "${args[@]}")
exec build/server/kvanta-catalog --seed-demo "${args[@]}"
