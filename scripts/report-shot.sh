#!/usr/bin/env bash
# The README's picture of the test report (docs/test-report.png): a 200-draw test of a two-line
# scenario with 50 hold-out draws on the synthetic demo archive, its report opened in headless
# Chromium. Needs a build (scripts/build.sh) and scripts/deps.sh --docs.
set -euo pipefail
cd "$(dirname "$0")/.."
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
build/tools/kvsample "$work/Kvanta_8x20.ldr" 2000 8201
printf '[STAKES]\r\nCost=100\r\nMaxStake=8\r\nProfits=5\r\nProfit_0_Overlap=4\r\nProfit_0_Profit=50\r\nProfit_1_Overlap=5\r\nProfit_1_Profit=200\r\nProfit_2_Overlap=6\r\nProfit_2_Profit=2000\r\nProfit_3_Overlap=7\r\nProfit_3_Profit=20000\r\nProfit_4_Overlap=8\r\nProfit_4_Profit=1000000\r\n' >"$work/Kvanta_8x20.ini"
printf 'FULL:0#FIRST|TMD1#NUMS:10,20,50#LNO:#ST:2|TMF1#SUMS:100,200#CMV:1#SF:1| | | | | |идея А\r\nFULL:0#RAND|TMD1#EVEN:50#CLV:1#SF:1|TMD1#NUMS:30#LNO:#ST:3| | | | | |идея Б\r\n' \
  | iconv -f utf-8 -t cp1251 >"$work/s.lsc"
env -u DISPLAY build/app/Kvanta_8x20 --data-dir "$work" scripttest 200 --holdout 50 --luck 10000 \
  --report "$work/report.html" --scenario "$work/s.lsc" >/dev/null
chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --disable-sync --no-first-run --user-data-dir="$work/chromium" --window-size=1380,1240 --hide-scrollbars \
  --screenshot="$PWD/docs/test-report.png" "file://$work/report.html" 2>/dev/null
echo "docs/test-report.png"
