#!/usr/bin/env python3
"""scripts/check_layers.py [ROOT]: checks every #include of the sources against the layers.

The layers of src/, lowest first: model < ops < outputs and screen < ui < app; cli stands on the
portable core (model, ops, outputs, screen). Each folder of src/ is one layer. A file may include
headers of its own layer and of the layers below it, never above. Portable files (src/model,
src/ops, src/outputs, src/screen, src/cli, tests/unit, bench, fuzz) never include windows.h or
another Win32 header, nor a *_win.h header; the one exception is a *_win.cpp of src/model, the
Windows implementation of a portable interface. Every window file lives in src/ui. The Windows
tests (tests/win) and the Windows timing programs (bench/*_win.cpp) stand on top of everything.

Prints one line per violation and a count; exit status 1 when there is any, 0 otherwise.
ROOT defaults to the repository this script is in.
"""

import pathlib
import re
import sys

# What each layer may include, by folder of src/ ("res" is res/resource.h, the command numbers).
CORE = {"model", "ops", "outputs", "screen", "res"}
SEES = {
    "model": {"model"},
    "ops": {"model", "ops", "res"},
    "outputs": {"model", "ops", "outputs", "res"},
    "screen": {"model", "ops", "screen", "res"},
    "cli": CORE | {"cli"},
    "ui": CORE | {"ui"},
    "app": CORE | {"ui", "app"},
    "portable tests": CORE | {"cli"},
}
PORTABLE = {"model", "ops", "outputs", "screen", "cli", "portable tests"}

# Headers of the Win32 API that portable code must not include (compared in lower case). The C
# runtime's own headers (io.h, fcntl.h) are not among them: portable code may use them behind
# #ifdef _WIN32.
WIN32_HEADERS = {
    "windows.h", "windowsx.h", "winbase.h", "windef.h", "winuser.h", "wingdi.h", "winnls.h",
    "winreg.h", "winerror.h", "commctrl.h", "commdlg.h", "shellapi.h", "shlobj.h", "shlwapi.h",
    "objbase.h", "ole2.h", "uxtheme.h", "tchar.h",
}

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".inc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def is_win_side(path):
    return path.stem.endswith("_win")


def layer_of(relative):
    """The layer whose rules a file follows, None for files on top of everything, or the name of
    an unknown folder of src/ prefixed with '?'."""
    parts = relative.parts
    if parts[0] == "src" and len(parts) > 2:
        folder = parts[1]
        return folder if folder in SEES else "?" + folder
    if parts[0] in ("bench", "fuzz") or parts[:2] == ("tests", "unit"):
        return None if is_win_side(relative) else "portable tests"
    return None


def folder_of(relative):
    """The folder a repository file counts as when it is included."""
    parts = relative.parts
    if parts[0] == "src" and len(parts) > 2:
        return parts[1]
    if parts[0] == "res":
        return "res"
    if parts[:2] == ("tests", "win"):
        return "tests/win"
    return None  # a helper of the tests, benchmarks or fuzzers themselves


def check_file(root, path):
    relative = path.relative_to(root)
    layer = layer_of(relative)
    if layer is None:
        return []
    if layer.startswith("?"):
        return [f"{relative}: src/{layer[1:]} is no layer of the build"]
    problems = []
    lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
    for number, line in enumerate(lines, 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        quoted, name = match.group(1) == '"', match.group(2).strip()
        where = f"{relative}:{number}: {layer} includes {name}"
        target = pathlib.PurePosixPath(name)
        platform_side = layer == "model" and is_win_side(relative) and relative.suffix == ".cpp"
        if layer in PORTABLE and target.name.lower() in WIN32_HEADERS and not platform_side:
            problems.append(f"{where}: portable code never includes Win32 headers")
            continue
        # A quoted name is looked up beside the including file first, then from src/ and res/.
        beside = (path.parent / name).resolve() if quoted else None
        if beside is not None and beside.is_file() and beside.is_relative_to(root.resolve()):
            folder = folder_of(beside.relative_to(root.resolve()))
        elif target.parts[0] in SEES:
            folder = target.parts[0]
        elif name == "resource.h":
            folder = "res"
        else:
            continue  # the standard library or a third-party header
        if folder is None:
            continue
        if layer in PORTABLE and is_win_side(target):
            problems.append(f"{where}: portable code never includes the Win32 side of a feature")
        elif folder not in SEES[layer]:
            problems.append(f"{where}: {layer} sees only {', '.join(sorted(SEES[layer]))}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    problems = []
    for top in ("src", "tests/unit", "bench", "fuzz"):
        for path in sorted((root / top).rglob("*")):
            if path.suffix in SOURCE_SUFFIXES and path.is_file():
                problems += check_file(root, path)
    for problem in problems:
        print(problem)
    print(f"{len(problems)} include violations")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
