# Warnings for the project's own targets; errors as well with TB58_WERROR.
function(tb58_set_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive- $<$<BOOL:${TB58_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wformat=2 -Wimplicit-fallthrough
            $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wold-style-cast>
            # GCC 12 warns falsely at -O3 about the memcpy inside
            # std::string's replace, which "literal" + std::string&& inlines
            # (fixed in GCC 13); with warnings as errors a Release build
            # would stop in a handful of files.
            $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>
            $<$<BOOL:${TB58_WERROR}>:-Werror>)
    endif()
endfunction()
