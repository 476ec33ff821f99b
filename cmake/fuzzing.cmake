# The fuzz build (VEXTABLE_FUZZ): every target of the tree is compiled with libFuzzer's
# coverage instrumentation, so that the fuzzers of fuzz/ see into the libraries they call, and
# with the sanitizers that turn a silent fault into a crash the fuzzer reports. Included before
# any target is defined; the fuzzers themselves link libFuzzer (fuzz/CMakeLists.txt).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VEXTABLE_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
set(VEXTABLE_FUZZ_SANITIZERS "address,undefined" CACHE STRING
    "Sanitizers of the fuzz build, as -fsanitize takes them")
add_compile_options(-fsanitize=fuzzer-no-link,${VEXTABLE_FUZZ_SANITIZERS}
                    -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=${VEXTABLE_FUZZ_SANITIZERS})
