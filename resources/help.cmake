# The help file of the windowed programs: resources/help/Arkivo.html, found by the
# programs as help/Arkivo.html beside their executable.
include(GNUInstallDirs)

# Keeps a copy of the help file in a "help" directory beside target's executable
# (refreshed whenever it changes) and installs it beside the installed program.
function(arkivo_ship_help target)
    set(help ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/help/Arkivo.html)
    get_target_property(program_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT program_dir)
        get_target_property(program_dir ${target} BINARY_DIR)
    endif()
    # Programs built into one directory share one copy.
    string(MAKE_C_IDENTIFIER "${program_dir}" dir_key)
    get_property(shipping GLOBAL PROPERTY ARKIVO_HELP_${dir_key})
    if(shipping)
        add_dependencies(${target} ${shipping})
        return()
    endif()
    set_property(GLOBAL PROPERTY ARKIVO_HELP_${dir_key} ${target}_help)
    set(copy ${program_dir}/help/Arkivo.html)
    add_custom_command(OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${help} ${copy}
        DEPENDS ${help}
        VERBATIM)
    add_custom_target(${target}_help ALL DEPENDS ${copy})
    add_dependencies(${target} ${target}_help)
    install(FILES ${help} DESTINATION ${CMAKE_INSTALL_BINDIR}/help)
endfunction()
