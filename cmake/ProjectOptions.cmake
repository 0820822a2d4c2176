# Compiler settings every target of ours gets: warnings are errors, texts are Shift-JIS on Windows.
function(tempivo_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
    if(WIN32)
        # Sources are UTF-8; the program's narrow texts are in the ANSI code page of Japanese Windows.
        target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
    endif()
endfunction()
