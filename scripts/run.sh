#!/usr/bin/env bash
# The run command: installs what is missing, builds the Windows program, prepares a Wine prefix that
# is kept between runs (Japanese font substitutes included), installs the program into it and starts
# Quillon on a sample project made from an EDL shipped in the repository.
#
#     scripts/run.sh [FILE]
#
# FILE is an EDL or a project file to open instead of the sample. Settings, all optional:
#   QLP_BUILD_DIR   an existing Windows build directory to use (default: the "windows" preset,
#                   build/windows, configured and built here)
#   QLP_RUN_PREFIX  the Wine prefix (default: ~/.local/share/quillon-wineprefix)
#   QLP_DESKTOP     1: run inside a Wine desktop window, 0: never; by default a desktop is used when
#                   no window manager is running (Xvfb, bare X servers), so windows get a frame
#   QLP_SCREENSHOT  a PNG path: once the main window is up, take a screenshot of the screen into it
#                   and close the program (for documentation and headless checks)
# Without DISPLAY, the program runs in an Xvfb of its own.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/deps.sh"

if [[ -n "${QLP_BUILD_DIR:-}" ]]; then
    build_dir=$QLP_BUILD_DIR
    cmake --build "$build_dir" -j2 --target quillon qlp
else
    build_dir=$root/build/windows
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j2 --target quillon qlp
fi

# wine-env.sh keeps a prefix directory that already exists; creating it first makes it persist.
prefix=${QLP_RUN_PREFIX:-$HOME/.local/share/quillon-wineprefix}
mkdir -p "$prefix"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh" "$prefix"

# The program lives in its own folder of the prefix, where it keeps its work directory.
install_dir="$WINEPREFIX/drive_c/Program Files/Quillon"
mkdir -p "$install_dir"
cp "$build_dir/src/app/quillon.exe" "$install_dir/quillon.exe"

file=${1:-}
if [[ -z "$file" ]]; then
    samples="$WINEPREFIX/drive_c/users/Public/Documents/Quillon"
    mkdir -p "$samples"
    file="$samples/ndf_basic.QLP"
    wine "$build_dir/src/cli/qlp.exe" convert "$(winepath -w "$root/tests/data/ndf_basic.EDL")" \
        "$(winepath -w "$file")" >/dev/null
fi

window_manager_running() {
    if command -v xprop >/dev/null; then
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
    else
        xdotool getactivewindow >/dev/null 2>&1
    fi
}

desktop=${QLP_DESKTOP:-}
if [[ -z "$desktop" ]]; then
    desktop=1
    window_manager_running && desktop=0
fi

program=("$install_dir/quillon.exe" "$(winepath -w "$file")")
if [[ "$desktop" == 1 ]]; then
    wine explorer /desktop=quillon,1400x900 "${program[@]}" &
else
    wine "${program[@]}" &
fi
pid=$!

if [[ -n "${QLP_SCREENSHOT:-}" ]]; then
    caption='Quillon for SONY BVE-9100'
    # Inside a Wine desktop the program's windows are not X windows of their own: wait for the
    # desktop, then give the program time to draw.
    if [[ "$desktop" == 1 ]]; then
        xdotool search --sync --limit 1 --name '^quillon' >/dev/null
        sleep 6
    else
        xdotool search --sync --limit 1 --name "$caption" >/dev/null
        sleep 3
    fi
    mkdir -p "$(dirname "$QLP_SCREENSHOT")"
    if [[ "$desktop" == 1 ]]; then
        import -window root -crop 1400x900+0+0 +repage "$QLP_SCREENSHOT"
    else
        import -window root "$QLP_SCREENSHOT"
    fi
    echo "run: screenshot in $QLP_SCREENSHOT"
    # Alt+F4 is the program's own exit command: it closes the way the user does.
    target=$(xdotool search --limit 1 --name '^quillon' 2>/dev/null || xdotool search --limit 1 --name "$caption")
    xdotool windowfocus --sync "$target" key --clearmodifiers alt+F4 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "run: the program did not close; stopping Wine" >&2
        wineserver -k || true
    fi
fi

wait "$pid"
