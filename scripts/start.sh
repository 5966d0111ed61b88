#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the demo data directory.
# Pass --data-dir DIR (or set KVANTA_DATA_DIR) to work on a data directory of your own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
args=("$@")
if [[ " $* " != *" --data-dir "* && "$*" != *"--data-dir="* && -z "${KVANTA_DATA_DIR:-}" ]]; then
  mkdir -p demo-data
  # The demo archive is synthetic: invented draws from a seeded generator, not real results.
  [ -f demo-data/Kvanta_8x20.ldr ] || build/tools/kvsample demo-data/Kvanta_8x20.ldr 2000 8201
  args=(--data-dir "$PWD/demo-data" "${args[@]}")
fi
exec build/app/Kvanta_8x20 "${args[@]}"
