#!/usr/bin/env bash
# The test command: installs what is missing, builds the native and the Windows presets, runs the
# native unit tests, then the Windows tests under Wine, and ends with one line
# "N passed, N failed" counting the GoogleTest cases of both suites.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1

logs="$root/build/logs"
results="$root/build/test-results"
mkdir -p "$logs"
failures=()
total_passed=0
total_failed=0

elapsed() { echo "$((SECONDS - $1))s"; }

# CI builds with warnings as errors; elsewhere the build directory keeps the developer's choice.
configure_options=()
[[ ${CI:-} == true ]] && configure_options+=(-DQLP_WERROR=ON)

build_preset() {
    local preset=$1 start=$SECONDS log="$logs/build-$1.log"
    if cmake --preset "$preset" "${configure_options[@]}" >"$log" 2>&1 &&
        cmake --build --preset "$preset" -j2 >>"$log" 2>&1; then
        echo "build $preset: ok ($(elapsed "$start"), log $log)"
        return 0
    fi
    echo "build $preset: FAILED ($(elapsed "$start")); last lines of $log:"
    tail -n 40 "$log"
    failures+=("build $preset")
    return 1
}

# Runs one CTest suite (the test preset of the same name) with GoogleTest's XML reports switched on
# and adds its cases to the totals. $1 suite name, $2 the report directory as the test programs
# must spell it.
run_suite() {
    local suite=$1 report_dir=$2 start=$SECONDS counts
    local junit="$results/$suite.junit.xml" xml_dir="$results/$suite"
    rm -rf "$xml_dir" "$junit"
    mkdir -p "$xml_dir"
    GTEST_OUTPUT="xml:$report_dir/" ctest --preset "$suite" --output-junit "$junit" ||
        failures+=("$suite tests")
    counts=$(python3 "$root/scripts/count-tests.py" "$junit" "$xml_dir") || counts="0 1"
    read -r passed failed <<<"$counts"
    echo "$suite: $passed passed, $failed failed ($(elapsed "$start"))"
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
}

# The release a user takes: cpack's zip unpacked into a fresh folder, quillon.exe started from there
# on the release's sample (window up, list filled), its readme, licence and samples present, and
# qlp.exe show run on a sample EDL.
run_release() {
    local start=$SECONDS dir app passed=0 failed=0 log="$logs/release.log"
    dir=$(mktemp -d)
    if (cd "$root/build/windows" && cpack) >"$log" 2>&1 &&
        python3 -m zipfile -e "$root"/build/windows/quillon-*-win64.zip "$dir" >>"$log" 2>&1; then
        app=$(echo "$dir"/quillon-*-win64)
        if QLP_RELEASE_DIR="Z:$app" wine "$root/build/windows/tests/win/app_process_win_test.exe" \
            --gtest_filter=ProgramTest.StartsAloneFromItsFolderOnASample >>"$log" 2>&1; then
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
        fi
        # What a user needs beside the programs: the readme, the licence and the samples.
        if [[ -f $app/README.txt && -f $app/LICENSE.txt && -f $app/samples/ndf_basic.EDL ]]; then
            passed=$((passed + 1))
        else
            echo "release: README.txt, LICENSE.txt or the samples missing" >>"$log"
            failed=$((failed + 1))
        fi
        if wine "$app/qlp.exe" show "Z:$app/samples/ndf_basic.EDL" 2>>"$log" | grep -q "TAPE01"; then
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
        fi
    else
        failed=1
    fi
    rm -rf "$dir"
    ((failed == 0)) || failures+=("release (log $log)")
    echo "release: $passed passed, $failed failed ($(elapsed "$start"))"
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
}

start=$SECONDS
if ! "$root/scripts/deps.sh"; then
    echo "dependencies could not be installed"
    echo "0 passed, 1 failed"
    exit 1
fi
echo "deps: $(elapsed "$start")"

if build_preset native; then
    run_suite native "$results/native"
fi

if build_preset windows; then
    start=$SECONDS
    # The Wine set-up's EXIT trap (stop Xvfb and wineserver, remove the prefix) runs when this script ends.
    # shellcheck source=wine-env.sh
    if source "$root/scripts/wine-env.sh" ""; then
        echo "wine: prefix ready in $(elapsed "$start")"
        run_suite windows "Z:$results/windows"
        run_release
    else
        failures+=("wine set-up")
    fi
fi

if ((${#failures[@]})); then
    echo "failed: ${failures[*]}"
    # A step that failed before its tests could run still counts as a failure.
    ((total_failed > 0)) || total_failed=1
fi
echo "$total_passed passed, $total_failed failed"
((${#failures[@]} == 0))
