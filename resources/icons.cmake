# The icons of the offline index: resources/images/*.gif, found by the programs in
# an "images" directory beside their executable.
include(GNUInstallDirs)

# Keeps a copy of the icons in an "images" directory beside target's executable
# (refreshed whenever an icon changes) and installs them beside the installed program.
function(arkivo_ship_icons target)
    file(GLOB icons CONFIGURE_DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/images/*.gif)
    get_target_property(program_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT program_dir)
        get_target_property(program_dir ${target} BINARY_DIR)
    endif()
    # Programs built into one directory share one copy.
    string(MAKE_C_IDENTIFIER "${program_dir}" dir_key)
    get_property(shipping GLOBAL PROPERTY ARKIVO_ICONS_${dir_key})
    if(shipping)
        add_dependencies(${target} ${shipping})
        return()
    endif()
    set_property(GLOBAL PROPERTY ARKIVO_ICONS_${dir_key} ${target}_icons)
    set(copies)
    foreach(icon ${icons})
        get_filename_component(name ${icon} NAME)
        set(copy ${program_dir}/images/${name})
        add_custom_command(OUTPUT ${copy}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${icon} ${copy}
            DEPENDS ${icon}
            VERBATIM)
        list(APPEND copies ${copy})
    endforeach()
    add_custom_target(${target}_icons ALL DEPENDS ${copies})
    add_dependencies(${target} ${target}_icons)
    install(FILES ${icons} DESTINATION ${CMAKE_INSTALL_BINDIR}/images)
endfunction()
