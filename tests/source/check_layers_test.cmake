# Runs the include check over a small tree holding every kind of violation beside includes that are
# allowed, and expects exactly the violations, each once, and a failing exit status.
# Variables: PYTHON, CHECKER, SAMPLE (a scratch directory, emptied first).
file(REMOVE_RECURSE ${SAMPLE})

function(sample path)
    string(REPLACE ";" "\n" text "${ARGN}")
    file(WRITE ${SAMPLE}/${path} "${text}\n")
endfunction()

sample(src/model/timecode.h "#pragma once")
sample(src/model/records.h "#include \"model/timecode.h\"" "#include <vector>")
sample(src/model/loader.cpp "#include \"ops/sort.h\"" "#include \"resource.h\"" "#include \"../ops/sort.h\"")
sample(src/model/file_io_win.cpp "#include <windows.h>" "#include \"model/timecode.h\"")
sample(src/ops/sort.h "#include \"model/records.h\"")
sample(src/ops/sort.cpp "#include \"ops/sort.h\"" "#include \"resource.h\"" "#include <windows.h>")
sample(src/ops/sort_win.cpp "#include <windows.h>" "#include \"outputs/listing.h\"")
sample(src/ops/find.cpp "#include \"model/file_io_win.h\"" "#ifdef _WIN32" "#include <io.h>" "#endif")
sample(src/outputs/listing.h "#include \"ops/sort.h\"" "#include \"screen/menu.h\"")
sample(src/screen/menu.h "#include \"ops/sort.h\"" "#include \"ui/modal.h\"")
sample(src/ui/modal.h "#include <commctrl.h>" "#include \"outputs/listing.h\"" "#include \"app/app_state.h\"")
sample(src/ui/dialogs/offset_dialog.cpp "#include \"ui/modal.h\"" "#include \"app/app_state.h\"")
sample(src/app/app_state.h "#include \"ui/modal.h\"")
sample(src/cli/qlp.cpp "#include \"outputs/listing.h\"" "#include \"ui/modal.h\"" "#include <Windows.h>")
sample(src/dialogs/thing.cpp "#include \"model/records.h\"")
sample(tests/unit/sort_test.cpp "#include \"ops/sort.h\"" "#include \"app/app_state.h\"")
sample(tests/win/app_test.cpp "#include \"app/app_state.h\"")
sample(bench/timings_win.cpp "#include \"app/app_state.h\"")

set(expected
    "src/cli/qlp.cpp:2: cli includes ui/modal.h: cli sees only cli, model, ops, outputs, res, screen"
    "src/cli/qlp.cpp:3: cli includes Windows.h: portable code never includes Win32 headers"
    "src/dialogs/thing.cpp: src/dialogs is no layer of the build"
    "src/model/loader.cpp:1: model includes ops/sort.h: model sees only model"
    "src/model/loader.cpp:2: model includes resource.h: model sees only model"
    "src/model/loader.cpp:3: model includes ../ops/sort.h: model sees only model"
    "src/ops/find.cpp:1: ops includes model/file_io_win.h: portable code never includes the Win32 side of a feature"
    "src/ops/sort.cpp:3: ops includes windows.h: portable code never includes Win32 headers"
    "src/ops/sort_win.cpp:1: ops includes windows.h: portable code never includes Win32 headers"
    "src/ops/sort_win.cpp:2: ops includes outputs/listing.h: ops sees only model, ops, res"
    "src/outputs/listing.h:2: outputs includes screen/menu.h: outputs sees only model, ops, outputs, res"
    "src/screen/menu.h:2: screen includes ui/modal.h: screen sees only model, ops, res, screen"
    "src/ui/dialogs/offset_dialog.cpp:2: ui includes app/app_state.h: ui sees only model, ops, outputs, res, screen, ui"
    "src/ui/modal.h:3: ui includes app/app_state.h: ui sees only model, ops, outputs, res, screen, ui"
    "tests/unit/sort_test.cpp:2: portable tests includes app/app_state.h: portable tests sees only cli, model, ops, outputs, res, screen"
    "15 include violations")

execute_process(COMMAND ${PYTHON} ${CHECKER} ${SAMPLE} RESULT_VARIABLE status OUTPUT_VARIABLE output)
string(STRIP "${output}" output)
string(REPLACE "\n" ";" found "${output}")
list(SORT found)
list(SORT expected)
if(status EQUAL 0)
    message(FATAL_ERROR "the check passed a tree with violations:\n${output}")
endif()
if(NOT found STREQUAL expected)
    string(REPLACE ";" "\n" want "${expected}")
    message(FATAL_ERROR "the check reported\n${output}\ninstead of\n${want}")
endif()
message(STATUS "the check found each violation of the sample tree:\n${output}")
