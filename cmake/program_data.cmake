# The data files the programs read at run time: the index icons
# (resources/images/*.gif, found in an "images" directory) and the help file
# (resources/help/Arkivo.html, found as help/Arkivo.html), both in the program's
# data directory: beside the executable in the build tree, share/arkivo/ once
# installed.
include(GNUInstallDirs)

set(ARKIVO_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/../resources)

# Keeps a copy of files in the directory folder beside target's executable
# (refreshed whenever one changes) and installs them into share/arkivo/folder.
# Programs built into one directory share one copy.
function(arkivo_ship_data target folder)
    set(files ${ARGN})
    get_target_property(program_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT program_dir)
        get_target_property(program_dir ${target} BINARY_DIR)
    endif()
    string(MAKE_C_IDENTIFIER "${program_dir}/${folder}" dir_key)
    get_property(shipping GLOBAL PROPERTY ARKIVO_DATA_${dir_key})
    if(shipping)
        add_dependencies(${target} ${shipping})
        return()
    endif()
    set(copy_target ${target}_${folder})
    set_property(GLOBAL PROPERTY ARKIVO_DATA_${dir_key} ${copy_target})
    set(copies)
    foreach(file ${files})
        get_filename_component(name ${file} NAME)
        set(copy ${program_dir}/${folder}/${name})
        add_custom_command(OUTPUT ${copy}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${copy}
            DEPENDS ${file}
            VERBATIM)
        list(APPEND copies ${copy})
    endforeach()
    add_custom_target(${copy_target} ALL DEPENDS ${copies})
    add_dependencies(${target} ${copy_target})
    install(FILES ${files} DESTINATION ${CMAKE_INSTALL_DATADIR}/arkivo/${folder})
endfunction()

function(arkivo_ship_icons target)
    file(GLOB icons CONFIGURE_DEPENDS ${ARKIVO_RESOURCES}/images/*.gif)
    arkivo_ship_data(${target} images ${icons})
endfunction()

function(arkivo_ship_help target)
    arkivo_ship_data(${target} help ${ARKIVO_RESOURCES}/help/Arkivo.html)
endfunction()
