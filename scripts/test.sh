#!/usr/bin/env bash
# Installs what is missing, checks the layout of the C++ sources against
# .clang-format, builds with warnings as errors and runs every test; installs
# that build into a temporary prefix and builds and runs a program against
# the installed library (tests/consumer); then builds again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test once
# more. Each test run has a throwaway PostgreSQL server for the ODBC tests
# (scripts/with-test-postgres.sh), stopped when the run ends, pass or fail.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test-server
jobs=$(nproc)

echo "== Source layout (clang-format)"
git ls-files -z '*.cc' '*.h' | xargs -0 clang-format --dry-run --Werror

echo "== Build and test (warnings are errors)"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMX_WERROR=ON >/dev/null
cmake --build build/test -j "$jobs"
scripts/with-test-postgres.sh \
  ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== A program built against the installed library"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install build/test --prefix "$scratch/prefix" >/dev/null
cmake -S tests/consumer -B "$scratch/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/consumer"
"$scratch/prefix/bin/movx20xmlgen" demo "$scratch/demo" >/dev/null
mkdir "$scratch/xml"
"$scratch/consumer/consumer" "$scratch/demo/demo.sqlite" "$scratch/xml" \
  2>"$scratch/consumer.log" || { cat "$scratch/consumer.log"; exit 1; }
# The same settings as the demo run: the same documents, byte for byte.
[ -n "$(find "$scratch/xml" -type f -name '*.XML')" ]
diff -r "$scratch/demo/xml" "$scratch/xml"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMX_WERROR=ON -DMX_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  scripts/with-test-postgres.sh \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
