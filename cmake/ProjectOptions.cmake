# Compiler settings every target of ours gets: warnings are errors, texts are Shift-JIS on Windows.
function(tempivo_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
    if(WIN32)
        # Sources are UTF-8; the program's narrow texts are in the ANSI code page of Japanese Windows.
        target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
        # windows.h without Winsock 1.1, so that Winsock 2 can be included anywhere after it; each file
        # includes the other headers it needs itself.
        target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN)
        # Winsock, the common controls, the certificate store, bcrypt and imm32 are loaded at their
        # first call (cmake/DelayImports.cmake). A call through a dllimport pointer would skip the
        # loading stub (binutils bug 14339), so their functions are declared as plain functions.
        target_compile_definitions(${target} PRIVATE WINSOCK_API_LINKAGE= WINCOMMCTRLAPI= WINIMPM=)
        # Small code: horavo.exe is downloaded and loaded whole, and nothing in it is hot. Each
        # function in a section of its own, so the linker can leave out what nobody calls.
        target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections)
    endif()
endfunction()
