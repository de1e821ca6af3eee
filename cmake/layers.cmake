# The layers of src/, lowest first: model < ops and dialogs < ui < app; cli sits on model, ops and
# dialogs. Each layer is a library that sees only its own folders and those of the layers it links.
#
# Sources include headers by folder ("model/document.h"), so a library's include root is a
# directory in the build tree holding links to its own folders of src/ and nothing else: a header
# of a layer that is not below is simply not found, and the build fails where the rule is broken.
# Where the file system cannot hold the links, the library sees all of src/ and the include check
# (tests/layers, run by CTest) still holds the rule.

# qlp_layer_include_root(<target> <PUBLIC|PRIVATE|INTERFACE> <folder of src/>...)
function(qlp_layer_include_root target scope)
    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    file(MAKE_DIRECTORY ${root})
    foreach(folder IN LISTS ARGN)
        # A link to a folder no one has created yet is kept: its files are found once they exist.
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} RESULT result SYMBOLIC)
        if(NOT result STREQUAL "0")
            message(STATUS "${target}: no link to src/${folder} (${result}); it sees all of src/")
            target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR}/src)
            return()
        endif()
    endforeach()
    target_include_directories(${target} ${scope} ${root})
endfunction()
