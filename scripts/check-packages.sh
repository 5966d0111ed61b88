#!/usr/bin/env bash
# Holds on any machine, however many extra packages it carries: every CMake package configuration
# file and pkg-config file that the configured build found belongs to a package that
# scripts/deps.sh names or to one of their hard dependencies. A file found only because some
# other package happened to be installed would break the build on a fresh machine.
#   scripts/check-packages.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
cache="${1:-build}/CMakeCache.txt"
[ -f "$cache" ] || { echo "check-packages: $cache not found; configure the build first" >&2; exit 2; }

mapfile -t named < <(scripts/deps.sh --list)
declare -A allowed=()
while read -r p; do
  p="${p#<}"; p="${p%>}"; allowed["${p%%:*}"]=1
done < <(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
           --no-replaces --no-enhances "${named[@]}" | grep -v '^ ')

files=()
# Config-mode packages: each <Name>_DIR holds the package's configuration files.
while IFS= read -r dir; do
  for f in "$dir"/*onfig.cmake "$dir"/*onfig-version.cmake "$dir"/*ConfigVersion.cmake; do
    [ -f "$f" ] && files+=("$(readlink -f "$f")")
  done
done < <(sed -n 's/^[A-Za-z0-9_]*_DIR:PATH=\(\/.*\)$/\1/p' "$cache" | sort -u)
# pkg-config modules asked for by pkg_check_modules and found.
while IFS='=' read -r key args; do
  prefix="${key#__pkg_config_arguments_}"; prefix="${prefix%%:*}"
  grep -q "^${prefix}_FOUND:INTERNAL=1$" "$cache" || continue
  IFS=';' read -ra words <<<"$args"
  for w in "${words[@]}"; do
    case "$w" in REQUIRED|QUIET|IMPORTED_TARGET|GLOBAL|NO_CMAKE_PATH|NO_CMAKE_ENVIRONMENT_PATH|"") continue ;; esac
    module="${w%%[<>=]*}"
    pc="$(pkg-config --path "$module" 2>/dev/null || true)"
    [ -n "$pc" ] && files+=("$(readlink -f "$pc")")
  done
done < <(grep '^__pkg_config_arguments_' "$cache" || true)

[ ${#files[@]} -gt 0 ] || { echo "check-packages: no package files found in $cache" >&2; exit 2; }
bad=0
for f in $(printf '%s\n' "${files[@]}" | sort -u); do
  owner="$(dpkg -S "$f" 2>/dev/null | head -1 | cut -d: -f1 || true)"
  if [ -z "$owner" ]; then
    # /usr/lib and /lib are one folder on Debian 12; dpkg knows the path the package shipped.
    owner="$(dpkg -S "${f#/usr}" 2>/dev/null | head -1 | cut -d: -f1 || true)"
  fi
  if [ -z "$owner" ]; then
    echo "check-packages: $f belongs to no Debian package"; bad=1
  elif [ -z "${allowed[$owner]:-}" ]; then
    echo "check-packages: $f comes from $owner, which scripts/deps.sh neither names nor depends on"; bad=1
  fi
done
[ $bad -eq 0 ] && echo "check-packages: ${#files[@]} package files, all from scripts/deps.sh and its dependencies"
exit $bad
