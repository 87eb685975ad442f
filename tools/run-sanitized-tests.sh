#!/usr/bin/env bash
# The whole test suite, window tests included, built with AddressSanitizer
# and UndefinedBehaviorSanitizer (preset 'sanitize').
#   tools/run-sanitized-tests.sh [build-dir]
# The options below reach every process that the tests start (the program
# included) through the environment. A report ends the process with status
# 86, which no test takes for the program's own exit status.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-sanitize"}
supp="$root/tools/sanitizers"

export ASAN_OPTIONS="exitcode=86:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:strict_string_checks=1"
export LSAN_OPTIONS="exitcode=86:suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="exitcode=86:halt_on_error=1:print_stacktrace=1"

# Mesa unloads its GL driver when freeglut closes the display, before the
# leak check at exit; the driver's frames would then show as "<unknown
# module>", which no suppression can name. Preloading it keeps it mapped.
# The sanitizer runtime then no longer comes first among the libraries,
# which it accepts when told so.
# Only the tests get the preload (tools/run-tests.sh passes it to ctest),
# not the compiler or Xvfb.
driver="/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so"
if [ -f "$driver" ]; then
    export BILIJAR_TEST_PRELOAD="$driver"
    ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
fi

exec bash "$root/tools/run-tests.sh" "$build" --preset sanitize
