#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer (g++) into
# build-asan/ and runs every test there with ctest. A report stops the program that made it;
# every report, also one from a program a test runs (vextable, cadhost with the plug-in), is
# written to build-asan/sanitizer-reports/, and any report there fails the run even when the
# test that caused it passed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh

out=build-asan
if [ ! -f "$out/build.ninja" ]; then
  # Unoptimised with line tables only: reports keep their lines, and the build takes half the
  # time of an optimised one (the tests run fast either way); the benchmarks are left out.
  cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DVEXTABLE_BUILD_BENCH=OFF > /dev/null
fi
cmake --build "$out" -j2

reports="$root/$out/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
common="halt_on_error=1:print_stacktrace=1:log_path=$reports/report"
export ASAN_OPTIONS="$common:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="$common"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

status=0
# A test that hangs fails after ten minutes (sanitized programs are slower). The runs under a
# real X server are left out: their timing is a person's, which a sanitized host cannot keep,
# and the X libraries' keymap reader trips the strict string checks; the same windows are
# tested offscreen here.
ctest --test-dir "$out" --output-on-failure -j2 --timeout 600 -E 'Xvfb' || status=$?
if compgen -G "$reports/report*" > /dev/null; then
  echo "sanitize: sanitizer reports:" >&2
  for f in "$reports"/report*; do
    echo "== $f" >&2
    head -n 40 "$f" >&2
  done
  status=1
fi
exit $status
