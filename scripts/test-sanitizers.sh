#!/usr/bin/env bash
# Builds the whole project twice with the compiler's sanitizers and runs the tests under them:
#   asan  build-asan/, AddressSanitizer with UndefinedBehaviorSanitizer and LeakSanitizer:
#         every test;
#   tsan  build-tsan/, ThreadSanitizer: the tests of the layers below the window (ctest label
#         below-window), where our own threads run, with no suppression; then the window's
#         tests (label window), with Qt's libraries suppressed (scripts/tsan-window.supp says why).
# Any report fails the run, also one from a program that a test starts (vantelle-blend,
# vantelle), whose output the test may keep to itself: the reports of AddressSanitizer,
# LeakSanitizer and ThreadSanitizer go to files of their own in <build>/sanitizer-reports/,
# and the run fails when one is there. The test counts of every run come last.
#   scripts/test-sanitizers.sh [asan|tsan]...    (default: both)
# The folders can be moved with ASAN_BUILD_DIR and TSAN_BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=("$@")
[ ${#runs[@]} -gt 0 ] || runs=(asan tsan)
for run in "${runs[@]}"; do
  case $run in
    asan | tsan) ;;
    *)
      echo "usage: $0 [asan|tsan]..." >&2
      exit 2
      ;;
  esac
done
scripts/install-deps.sh

# The builds are long; they leave the machine to its other work first.
build() {
  local dir=$1 flags=$2
  nice cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTELLE_WERROR=ON \
    -DCMAKE_CXX_FLAGS="$flags -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null
  nice cmake --build "$dir"
}

# run_tests DIR NAME TSAN_SUPPRESSIONS [CTEST_ARGUMENT...]: runs tests of the build, with
# ThreadSanitizer's suppressions from the file given (none when empty), and keeps ctest's
# summary. Returns non-zero when a test failed or a sanitizer wrote a report.
run_tests() {
  local dir=$1 name=$2 suppressions=$3
  shift 3
  local reports=$root/$dir/sanitizer-reports/$name log=$root/$dir/ctest-$name.log
  rm -rf "$reports"
  mkdir -p "$reports"
  export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:strict_init_order=1"
  # Beside AddressSanitizer, g++'s UndefinedBehaviorSanitizer writes to standard error whatever
  # its log_path says; it ends the process with a status that no program of ours uses, so a
  # test that checks a program's status fails too.
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86"
  export TSAN_OPTIONS="log_path=$reports/tsan:second_deadlock_stack=1${suppressions:+:suppressions=$root/$suppressions}"
  local status=0
  QT_QPA_PLATFORM=offscreen nice ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" "$@" | tee "$log" \
    || status=1
  local found
  found=$(find "$reports" -type f | wc -l)
  if [ "$found" -gt 0 ]; then
    echo "== $name: $found sanitizer report(s):"
    cat "$reports"/*
    status=1
  fi
  summaries+=("$name: $(grep -E 'tests passed' "$log" || echo 'no test summary'); sanitizer reports: $found")
  return $status
}

summaries=()
failed=0
for run in "${runs[@]}"; do
  case $run in
    asan)
      dir=${ASAN_BUILD_DIR:-build-asan}
      build "$dir" "-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all"
      run_tests "$dir" asan-every-test "" || failed=1
      ;;
    tsan)
      dir=${TSAN_BUILD_DIR:-build-tsan}
      build "$dir" "-fsanitize=thread"
      run_tests "$dir" tsan-below-window "" -L '^below-window$' || failed=1
      run_tests "$dir" tsan-window scripts/tsan-window.supp -L '^window$' || failed=1
      ;;
  esac
done

printf '%s\n' "${summaries[@]}"
exit $failed
