# Interface targets every project target links: warnings, floating point,
# sanitizers and, for Windows, static linking.

add_library(korumix_options INTERFACE)
target_compile_options(korumix_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wnon-virtual-dtor -Wundef
    $<$<BOOL:${KORUMIX_WERROR}>:-Werror>)

# Identical settings must give identical pixels on every build: no fused
# multiply-add, and on i686 the double arithmetic is done in SSE2 registers
# rather than in the x87 unit, whose excess precision would change results.
target_compile_options(korumix_options INTERFACE -ffp-contract=off)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    target_compile_options(korumix_options INTERFACE -msse2 -mfpmath=sse)
endif()

if(KORUMIX_SANITIZE)
    set(KORUMIX_SANITIZER_FLAGS
        -fsanitize=address,undefined,float-cast-overflow,float-divide-by-zero
        -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(korumix_options INTERFACE ${KORUMIX_SANITIZER_FLAGS})
    target_link_options(korumix_options INTERFACE ${KORUMIX_SANITIZER_FLAGS})
endif()

if(WIN32)
    # One self-contained file: no libstdc++, libgcc or winpthread DLLs beside it.
    target_link_options(korumix_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# GoogleTest from Debian's source package, built with the same compilers.
set(KORUMIX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
