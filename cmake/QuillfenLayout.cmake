# quillfen_add_subdirectories(a b c ...)
#   Adds the named sub-folders of the current folder, in the order given. Every folder of the
#   tree is named in its parent's list, so that the build shows the layout and a folder is
#   never picked up by accident.
include_guard(GLOBAL)

function(quillfen_add_subdirectories)
    foreach(child IN LISTS ARGN)
        add_subdirectory(${child})
    endforeach()
endfunction()
