#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#   scripts/install-deps.sh                 build and unit tests
#   scripts/install-deps.sh --test-server   also PostgreSQL and its ODBC
#                                           driver, for the ODBC tests, and
#                                           Chromium, which draws the run
#                                           report in its test
#   scripts/install-deps.sh --fuzz          also clang and its libFuzzer
#                                           runtime, for the longer fuzz
#                                           runs (tests/fuzz/README.md)
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libsqlite3-dev libexpat1-dev
          libgtest-dev libgmock-dev unixodbc-dev libgoogle-perftools-dev
          clang-format git)
# The ODBC tests run against a throwaway PostgreSQL cluster through psqlODBC.
# The report test renders the page in headless Chromium.
test_server_packages=(postgresql odbc-postgresql chromium)
# The fuzz targets as libFuzzer programs; the test command does not need them.
fuzz_packages=(clang libclang-rt-dev)

for option in "$@"; do
  case "$option" in
    --test-server) packages+=("${test_server_packages[@]}") ;;
    --fuzz) packages+=("${fuzz_packages[@]}") ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
