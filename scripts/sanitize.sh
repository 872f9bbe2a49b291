#!/usr/bin/env bash
# Builds the library and the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs every test that uses
# the library in-process (the tests that start the real program run in the
# ordinary build). Any sanitizer report fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-asan"
"$root/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSKYHOG_SANITIZE=ON >/dev/null
fi
tests=(test_game_logic test_app_logic test_render_unit test_scene_math test_bench_stats
       test_render test_scene test_ui test_playthrough test_pain_sound test_audio)
cmake --build "$build" -j"$(nproc)" --target "${tests[@]}"

# The Mesa driver is loaded with the program so that its allocations stay
# attributable (a driver unloaded at exit shows up as an unknown module).
driver="$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n1 || true)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ALSOFT_DRIVERS=null LIBGL_ALWAYS_SOFTWARE=1
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env ${driver:+LD_PRELOAD=$driver} ctest --output-on-failure -j2 --timeout 1200 \
  -R "^(test_game_logic|test_app_logic|test_render_unit|test_scene_math|test_bench_stats|test_render|test_scene|test_ui|test_playthrough|test_pain_sound|audio_engine|audio_no_device)$"
