# Windows system DLLs that horavo.exe loads at their first call instead of at its start: the socket
# layer (and the five DLLs it brings) is needed only by the first synchronisation, and a DLL that is
# no Known DLL would be looked for in the program's folder first at the start, before the program
# could say where to look (app/dll_search_win32.h). Each becomes an imported library "<dll>_delay"
# made from MinGW's import library; its functions must not be declared dllimport (see
# ProjectOptions.cmake).
function(tempivo_delay_import_library dll)
    set(library ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${library}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay
        COMMAND ${CMAKE_SOURCE_DIR}/cmake/make_delay_import_library.sh ${TEMPIVO_MINGW} ${dll} ${library}
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/make_delay_import_library.sh
        COMMENT "Making the delay-load import library of ${dll}.dll")
    add_custom_target(${dll}_delay_library DEPENDS ${library})
    add_library(${dll}_delay STATIC IMPORTED GLOBAL)
    set_target_properties(${dll}_delay PROPERTIES IMPORTED_LOCATION ${library})
    add_dependencies(${dll}_delay ${dll}_delay_library)
endfunction()
