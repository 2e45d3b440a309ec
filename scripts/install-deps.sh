#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#   scripts/install-deps.sh                 build and unit tests
#   scripts/install-deps.sh --test-server   also PostgreSQL and its ODBC
#                                           driver, for the ODBC tests, and
#                                           Chromium, which draws the run
#                                           report in its test
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libsqlite3-dev libexpat1-dev
          libgtest-dev libgmock-dev unixodbc-dev libgoogle-perftools-dev
          clang-format git)
# The ODBC tests run against a throwaway PostgreSQL cluster through psqlODBC.
# The report test renders the page in headless Chromium.
test_server_packages=(postgresql odbc-postgresql chromium)

if [ "${1:-}" = "--test-server" ]; then
  packages+=("${test_server_packages[@]}")
fi

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
