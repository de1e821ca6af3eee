#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, skipping those already present,
# so a second run costs a few dpkg-query calls. Runs as root (as CI does) or through sudo.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang clang-format libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine wine64 xvfb xauth fonts-ipafont-gothic fonts-ipafont-mincho
    fonts-konatu fonts-horai-umefont
    imagemagick xdotool python3 procps
)

missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
    echo "deps: all ${#packages[@]} packages already installed"
    exit 0
fi

sudo=()
if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "deps: need root to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mkdir -p "$root/build"
log="$root/build/deps.log"
: >"$log"
echo "deps: installing ${missing[*]} (log: $log)"

export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update && \
       "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"; } \
       >>"$log" 2>&1 </dev/null; then
    echo "deps: apt-get failed; last lines of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
fi

# Confirm every package really landed (a virtual or renamed package would otherwise pass silently).
for pkg in "${missing[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        echo "deps: $pkg is still not installed; see $log" >&2
        exit 1
    fi
done
echo "deps: installed ${#missing[@]} package(s)"
