# shellcheck shell=bash
# Sourced (not run) by the scripts that start Windows programs under Wine:
#
#     source scripts/wine-env.sh [PREFIX]
#
# Prepares a 64-bit Wine prefix with the Japanese font replacements, a display (Xvfb when DISPLAY
# is unset) and one persistent wineserver, and exports WINEARCH, WINEPREFIX, WINEDEBUG,
# WINEDLLOVERRIDES and DISPLAY for the programs started afterwards.
#
# PREFIX (or QLP_WINEPREFIX) names the prefix directory; by default it is a fresh
# build/wineprefix-<pid>. A prefix this script creates is removed by qlp_wine_cleanup, which runs
# on EXIT together with stopping the wineserver and the Xvfb it started. An existing prefix is
# kept, and only booted if it was never booted, so a caller can keep one between runs; its font
# replacements are reloaded when scripts/wine-fonts.reg has changed since they were loaded.
# QLP_KEEP_WINEPREFIX=1 keeps even a fresh prefix, for a post-mortem.

qlp_wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qlp_wine_xvfb_pid=
qlp_wine_prefix_created=0

qlp_wine_cleanup() {
    if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
        wineserver -k >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1
    fi
    if [[ -n "$qlp_wine_xvfb_pid" ]]; then
        kill "$qlp_wine_xvfb_pid" 2>/dev/null
        wait "$qlp_wine_xvfb_pid" 2>/dev/null
        qlp_wine_xvfb_pid=
    fi
    if [[ "$qlp_wine_prefix_created" == 1 && "${QLP_KEEP_WINEPREFIX:-0}" != 1 ]]; then
        rm -rf -- "$WINEPREFIX"
        qlp_wine_prefix_created=0
    fi
    return 0
}

# Xvfb picks a free display number itself (-displayfd), so parallel runs never collide.
# QLP_XVFB_SCREEN sets its screen (1600x1000x24 by default).
qlp_wine_start_xvfb() {
    local fifo display=
    fifo=$(mktemp -u /tmp/qlp-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${QLP_XVFB_SCREEN:-1600x1000x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    qlp_wine_xvfb_pid=$!
    # Returns as soon as Xvfb writes its display number, or with nothing when Xvfb dies first.
    read -r -t 30 display <"$fifo"
    rm -f "$fifo"
    if [[ -z "$display" ]]; then
        echo "wine-env: Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$display"
}

qlp_wine_load_fonts() {
    local src="$qlp_wine_root/scripts/wine-fonts.reg"
    local reg="$WINEPREFIX/qlp-fonts.reg" check="$WINEPREFIX/qlp-fonts-check.reg" loaded line missing=0
    # The key is emptied first so that a face dropped from the file does not stay mapped in a kept
    # prefix.
    wine reg delete 'HKCU\Software\Wine\Fonts\Replacements' /f >/dev/null 2>&1 || true
    # regedit reads a file without a byte-order mark in the ANSI code page, which would mangle the
    # Japanese names; UTF-16LE with a BOM keeps them.
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$src"; } >"$reg"
    if ! wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1; then
        echo "wine-env: regedit could not load $src" >&2
        return 1
    fi
    # Read the key back and check that every value arrived with its name intact.
    if ! wine reg export 'HKCU\Software\Wine\Fonts\Replacements' "$(winepath -w "$check")" /y >/dev/null 2>&1; then
        echo "wine-env: the font replacements are missing after regedit" >&2
        return 1
    fi
    loaded=$(iconv -f UTF-16 -t UTF-8 "$check" | tr -d '\r')
    while IFS= read -r line; do
        [[ "$line" == '"'* ]] || continue
        if ! grep -qxF -- "$line" <<<"$loaded"; then
            echo "wine-env: font replacement not loaded: $line" >&2
            missing=1
        fi
    done <"$src"
    # A copy of what was loaded, so that a kept prefix is reloaded when the mappings change.
    ((missing == 0)) && cp -- "$src" "$WINEPREFIX/qlp-fonts-loaded.reg"
    return "$missing"
}

qlp_wine_setup() {
    if ! command -v wine >/dev/null; then
        echo "wine-env: wine is not installed (run scripts/deps.sh)" >&2
        return 1
    fi

    export WINEARCH=win64
    export WINEDEBUG=-all
    # No prompts to install Mono or Gecko (nothing here uses .NET or the HTML engine), and no
    # winemenubuilder, which would copy the program's shell registration into the Linux desktop.
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

    local prefix="${1:-${QLP_WINEPREFIX:-$qlp_wine_root/build/wineprefix-$$}}"
    mkdir -p "$(dirname "$prefix")"
    prefix="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
    if [[ ! -d "$prefix" ]]; then
        mkdir "$prefix"
        qlp_wine_prefix_created=1
    fi
    export WINEPREFIX="$prefix"
    trap qlp_wine_cleanup EXIT
    trap 'exit 130' INT TERM

    if [[ -z "${DISPLAY:-}" ]]; then
        qlp_wine_start_xvfb || return 1
    fi

    # One wineserver for the whole run, so each program starts in a fraction of a second.
    if ! wineserver -p; then
        echo "wine-env: wineserver did not start" >&2
        return 1
    fi
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        if ! wine wineboot -i >/dev/null 2>&1; then
            echo "wine-env: wineboot -i failed in $WINEPREFIX" >&2
            return 1
        fi
        qlp_wine_load_fonts || return 1
    elif ! cmp -s "$qlp_wine_root/scripts/wine-fonts.reg" "$WINEPREFIX/qlp-fonts-loaded.reg"; then
        # A kept prefix follows scripts/wine-fonts.reg when the mappings have changed since it was
        # loaded (or were loaded before this copy was kept).
        qlp_wine_load_fonts || return 1
    fi
}

qlp_wine_setup "$@"
