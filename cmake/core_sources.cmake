# The core's folders under src/: plain C++ that links no Qt. Every window lives
# under src/gui/ and the program entries under src/app/, so a file's folder, not
# its name, decides which library it belongs to. Used by src/ and fuzz/.
set(ARKIVO_CORE_FOLDERS
    platform model readers explorer
    archive rewriter offline_index archiver
    search shell webarchive)

# arkivo_core_sources(VAR SRC_DIR): every .cpp of the core folders below SRC_DIR.
function(arkivo_core_sources var src_dir)
    set(patterns)
    foreach(folder IN LISTS ARKIVO_CORE_FOLDERS)
        list(APPEND patterns ${src_dir}/${folder}/*.cpp)
    endforeach()
    file(GLOB sources CONFIGURE_DEPENDS ${patterns})
    set(${var} ${sources} PARENT_SCOPE)
endfunction()
