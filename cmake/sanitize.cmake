# The checking build: AddressSanitizer and UndefinedBehaviorSanitizer on every
# object, any finding ends the program with a report (so ctest counts it as
# a failure), and libFuzzer's coverage hooks in every library so that the
# fuzz targets of tests/fuzz can steer by them.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KORVANTIS_SANITIZE needs clang: configure with CC=clang CXX=clang++ "
                      "(scripts/build-sanitizer.sh does)")
endif()

set(KORVANTIS_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(${KORVANTIS_SANITIZERS} -fsanitize=fuzzer-no-link -fno-omit-frame-pointer)
add_link_options(${KORVANTIS_SANITIZERS})
# Q_ASSERT stays on; line tables are enough for readable reports and keep
# objects small.
set(CMAKE_C_FLAGS_DEBUG "-O1 -gline-tables-only" CACHE STRING "" FORCE)
set(CMAKE_CXX_FLAGS_DEBUG "-O1 -gline-tables-only" CACHE STRING "" FORCE)

# What every test of this build runs with: leaks count as findings (with
# the suppressions for what the libraries below us keep until exit).
set(KORVANTIS_SANITIZER_TEST_ENV
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/fuzz/lsan.supp:print_suppressions=0")
