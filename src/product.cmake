# korumix.scr: the one GUI executable, one static file importing only DLLs
# Windows provides.
#
# Its entry point is ProcessEntry itself, with no C runtime start-up linked
# in (-nostartfiles): the saver needs nothing that start-up prepares (no
# global constructors, no C runtime state), and the exit code is exactly what
# SaverMain returns. The check after linking keeps it that way: an image with
# a constructor list would have constructors that nobody runs.
add_executable(korumix WIN32 resources/korumix.rc)
set_target_properties(korumix PROPERTIES OUTPUT_NAME korumix SUFFIX .scr)
target_include_directories(korumix PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/resources)
target_link_libraries(korumix PRIVATE korumix_win)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(KORUMIX_ENTRY_SYMBOL _ProcessEntry@0) # stdcall decoration of the i386 ABI
else()
    set(KORUMIX_ENTRY_SYMBOL ProcessEntry)
endif()
target_link_options(korumix PRIVATE -nostartfiles -Wl,-e,${KORUMIX_ENTRY_SYMBOL})

add_custom_command(TARGET korumix POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DIMAGE=$<TARGET_FILE:korumix> -DOBJDUMP=${CMAKE_OBJDUMP} -DNM=${CMAKE_NM}
        -DENTRY=${KORUMIX_ENTRY_SYMBOL} -P ${CMAKE_CURRENT_SOURCE_DIR}/product-check.cmake
    VERBATIM)

# windres reports no included files to the build: name them, so that a changed
# dialog template, icon or id rebuilds the product.
set_source_files_properties(resources/korumix.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/resources/config_dialog.rc;${CMAKE_CURRENT_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_CURRENT_SOURCE_DIR}/resources/korumix.ico")
