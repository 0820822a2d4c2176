# Windows programs of this build run under Wine, in a prefix of the build folder's own.
# 32-bit programs need 32-bit Wine, 64-bit ones 64-bit Wine; the Wine scripts read which from the
# build folder, so every caller (tests, make run, benchmarks, screenshots) starts the right one.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TEMPIVO_WINDOWS_ARCH win64)
else()
    set(TEMPIVO_WINDOWS_ARCH win32)
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/wine-arch CONTENT "${TEMPIVO_WINDOWS_ARCH}\n")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR})

# One wineserver for a whole test run, so that each Wine test starts in a fraction of a second.
add_test(NAME wine_server_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh ${CMAKE_BINARY_DIR} start)
add_test(NAME wine_server_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh ${CMAKE_BINARY_DIR} stop)
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)

# Marks tests that run under Wine.
function(tempivo_wine_tests)
    set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine)
endfunction()
