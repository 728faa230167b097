# Warnings for the project's own targets; errors as well with TB58_WERROR.
function(tb58_set_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive- $<$<BOOL:${TB58_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wformat=2 -Wimplicit-fallthrough
            $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wold-style-cast>
            $<$<BOOL:${TB58_WERROR}>:-Werror>)
    endif()
endfunction()
