# Compiler settings every target of ours gets: warnings are errors, texts are Shift-JIS on Windows.
function(tempivo_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
    if(WIN32)
        # Sources are UTF-8; the program's narrow texts are in the ANSI code page of Japanese Windows.
        target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
        # Small code: horavo.exe is downloaded and loaded whole, and nothing in it is hot. Each
        # function in a section of its own, so the linker can leave out what nobody calls.
        target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections)
    endif()
endfunction()
