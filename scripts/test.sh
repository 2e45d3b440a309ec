#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every
# test; then builds again with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test once more. Each test run has a throwaway PostgreSQL
# server for the ODBC tests (scripts/with-test-postgres.sh), stopped when the
# run ends, pass or fail.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test-server
jobs=$(nproc)

echo "== Build and test (warnings are errors)"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMX_WERROR=ON >/dev/null
cmake --build build/test -j "$jobs"
scripts/with-test-postgres.sh \
  ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMX_WERROR=ON -DMX_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  scripts/with-test-postgres.sh \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
