#!/usr/bin/env bash
# scripts/format.sh [--check] [FILE...]: formats the C++ sources with the repository's
# .clang-format (clang-format 14 or later). With --check nothing is changed: it lists the files
# whose formatted form differs and fails when there is any. Without files it takes every C++ file
# git knows of, except generated tables and test data.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

check=false
if [[ ${1:-} == --check ]]; then
    check=true
    shift
fi

formatter=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z $formatter ]]; then
    echo "clang-format not found (Debian package clang-format)" >&2
    exit 2
fi

if (($# == 0)); then
    mapfile -t files < <(git ls-files '*.cpp' '*.h' ':!:tests/data/*')
else
    # Only C++ sources: a CMake or text file given by mistake is left as it is.
    files=()
    for file in "$@"; do
        [[ $file == *.cpp || $file == *.h ]] && files+=("$file")
    done
    ((${#files[@]} > 0)) || exit 0
fi

if ! $check; then
    "$formatter" -i --style=file "${files[@]}"
    exit 0
fi

differ=0
for file in "${files[@]}"; do
    if ! "$formatter" --dry-run --Werror --style=file "$file" >/dev/null 2>&1; then
        echo "$file"
        differ=$((differ + 1))
    fi
done
echo "$differ of ${#files[@]} files differ from their clang-format form"
((differ == 0))
