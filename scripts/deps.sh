#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the package and the program need, when
# any is missing. Installs never take recommended packages, so every package the project needs
# is named here, including those Debian only recommends.
#   scripts/deps.sh          install what is missing for building and running the program
#   scripts/deps.sh --tests  the same and what only the tests need
#   scripts/deps.sh --docs   the same and what the README's pictures are taken with
#   scripts/deps.sh --list   print every package name, one per line
set -euo pipefail
PACKAGES=(
  build-essential cmake
  qt6-base-dev          # Widgets, Test, the offscreen and xcb platform plugins
  libqt6opengl6-dev     # Qt Charts' CMake files ask for Qt6OpenGL; qt6-base-dev only recommends it
  qt6-charts-dev
  libxkbcommon-dev      # Qt6Gui looks for XKB at configure; without it a warning is printed
  libgtest-dev libbenchmark-dev
  pkg-config            # finds cpp-httplib, which ships no CMake file
  libcurl4-openssl-dev  # the program's web requests (libkvnet), TLS through OpenSSL
  libcpp-httplib-dev    # the local HTTP servers that the network tests and benchmarks start
  libsqlite3-dev        # the catalogue server's database (kvanta-catalog)
  libpq-dev             # the catalogue server's PostgreSQL storage (kvanta-catalog --db postgresql://...)
  libmicrohttpd-dev     # the catalogue server's HTTP side: event loops, per-address limits, deadlines
  zlib1g-dev            # gzip and deflate response bodies, inflated by libkvnet
  libxlsxwriter-dev     # the spreadsheet export writes .xlsx workbooks with it (libkvcore)
  unzip                 # the export tests read the written workbook's sheet back
  qt6-l10n-tools        # lrelease compiles the interface language modules (translations/*.ts)
  file                  # cpack -G DEB tells executables from other files with it
  xvfb xauth            # xvfb-run (which needs xauth, only recommended by xvfb): a display for screenshots
  fonts-dejavu-core     # the font the program's texts are drawn in; named so it cannot change underneath
  qt6-translations-l10n # Qt's own dialogs and context menus in Russian (qtbase_ru.qm)
  clang libclang-rt-14-dev  # the fuzz programs (scripts/fuzz.sh): clang++ and libFuzzer with its sanitizers
)
# Only the tests need these; a player building the program should not get a database service.
TEST_PACKAGES=(
  postgresql            # initdb/pg_ctl: the server tests and benchmarks start a throwaway cluster
  lintian               # the package test checks both Debian packages with it
  desktop-file-utils    # desktop-file-validate: the package test checks the menu entry
  appstream             # appstreamcli validate: the package test checks the metainfo file
)
# Only scripts/report-shot.sh needs this: the test report's picture, taken in a real browser.
DOC_PACKAGES=(
  chromium              # headless screenshots of the HTML test report
)
case "${1:-}" in
  --list) printf '%s\n' "${PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${DOC_PACKAGES[@]}"; exit 0 ;;
  --tests) PACKAGES+=("${TEST_PACKAGES[@]}") ;;
  --docs) PACKAGES+=("${DOC_PACKAGES[@]}") ;;
  "") ;;
  *) echo "usage: scripts/deps.sh [--tests | --docs | --list]" >&2; exit 2 ;;
esac
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
