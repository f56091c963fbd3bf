# libFuzzer targets, one per input surface, built by the sanitizer build
# only (scripts/build-sanitizer.sh). Each replays its seed corpus in
# corpus/<name>/ as a ctest test; scripts/fuzz.sh runs one for longer.
if(NOT KORVANTIS_SANITIZE)
  return()
endif()

set(KORVANTIS_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(korvantis_fuzzinput STATIC ${KORVANTIS_FUZZ_DIR}/fuzzinput.cpp ${KORVANTIS_FUZZ_DIR}/fuzzinput.h)
target_include_directories(korvantis_fuzzinput PUBLIC ${KORVANTIS_FUZZ_DIR})
target_link_libraries(korvantis_fuzzinput PUBLIC Qt5::Core)

function(korvantis_add_fuzzer name)
  add_executable(fuzz_${name} ${KORVANTIS_FUZZ_DIR}/fuzz_${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE korvantis_fuzzinput ${ARGN})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  add_test(NAME fuzz_${name} COMMAND fuzz_${name} -runs=0 ${KORVANTIS_FUZZ_DIR}/corpus/${name})
  set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 120 LABELS fuzz
      ENVIRONMENT "${KORVANTIS_SANITIZER_TEST_ENV}")
endfunction()

# Each links the narrowest library that holds its parser.
korvantis_add_fuzzer(link_datagram korvantis_link)
korvantis_add_fuzzer(blocktransfer korvantis_link_core)
korvantis_add_fuzzer(configblob korvantis_link_core)
korvantis_add_fuzzer(configfile korvantis_link)
korvantis_add_fuzzer(loader_datagram korvantis_loader_client)
korvantis_add_fuzzer(firmwarearchive korvantis_loader_client)
korvantis_add_fuzzer(intelhex korvantis_loader_core)
if(TARGET korvantis_logmodels)
  korvantis_add_fuzzer(devicelog korvantis_logmodels korvantis_logcore)
  korvantis_add_fuzzer(logfile korvantis_logcore)
endif()
if(TARGET korvantis_dbenctool)
  korvantis_add_fuzzer(dbenc korvantis_dbenctool korvantis_database_core Qt5::Sql)
endif()

# Writes the valid and damaged seed files of the corpora above.
add_executable(korvantis_fuzzseeds ${KORVANTIS_FUZZ_DIR}/makeseeds.cpp)
target_link_libraries(korvantis_fuzzseeds PRIVATE korvantis_link korvantis_unitsim korvantis_loader_core)
if(TARGET korvantis_dbenctool)
  target_link_libraries(korvantis_fuzzseeds PRIVATE korvantis_dbenctool Qt5::Sql)
  target_compile_definitions(korvantis_fuzzseeds PRIVATE KORVANTIS_HAVE_DATABASE)
endif()
if(TARGET korvantis_logcore)
  target_link_libraries(korvantis_fuzzseeds PRIVATE korvantis_logcore)
  target_compile_definitions(korvantis_fuzzseeds PRIVATE KORVANTIS_HAVE_LOG)
endif()
