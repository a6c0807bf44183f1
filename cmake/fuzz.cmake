# Flags for the fuzzing build (tools/fuzz.sh): every library is instrumented for coverage and
# built with the sanitizers, so a fault deep inside the code under test is reported where it
# happens. The fuzz programs in fuzz/ add libFuzzer's main when they link.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "SONDREL_FUZZ needs clang: configure with CC=clang CXX=clang++")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
