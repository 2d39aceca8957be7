# libFuzzer targets (native clang build only): FOLDER/fuzz/*.cpp, one target each.
# The test command runs each one so that a run is reproducible: every input of
# FOLDER/fuzz/NAME.seeds/ (valid files to start from) and NAME.finds/ (inputs that
# once crashed, leaked or hung, kept so they never come back) runs first, then a
# search of a fixed number of inputs from a fixed seed in a fresh corpus folder.
# Any crash, leak or timeout fails the test and is saved in build/native/fuzz-finds/.
# QORN_FUZZ_SEED in the environment searches from another seed. FOLDER/fuzz/NAME.options
# holds more libFuzzer flags for that target, one a line (e.g. -max_len=400000 where
# faults come with the size of the input).
if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  return()
endif()
set(QORN_FUZZ_RUNS 60000 CACHE STRING "Inputs each fuzz test tries after its seeds and past finds")
foreach(folder IN LISTS QORN_FOLDERS)
  file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/fuzz/*.cpp)
  string(REPLACE "/" "_" prefix "${folder}")
  foreach(f IN LISTS fuzzers)
    get_filename_component(name ${f} NAME_WE)
    set(exe fuzz_${prefix}_${name})
    add_executable(${exe} ${f})
    target_compile_options(${exe} PRIVATE -fsanitize=fuzzer)
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
    # The instrumented picture libraries in place of the system's (cmake/QornDeps.cmake).
    set_target_properties(${exe} PROPERTIES QORN_FUZZ_TARGET ON)
    qorn_link_all(${exe})
    set(inputs ${CMAKE_SOURCE_DIR}/${folder}/fuzz/${name})
    add_test(NAME fuzz/${prefix}/${name}
      COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fuzz-run.sh $<TARGET_FILE:${exe}>
              ${CMAKE_BINARY_DIR}/fuzz-corpus/${exe} ${CMAKE_BINARY_DIR}/fuzz-finds/${exe}
              ${QORN_FUZZ_RUNS} ${inputs}.options ${inputs}.finds ${inputs}.seeds)
    set_tests_properties(fuzz/${prefix}/${name} PROPERTIES TIMEOUT 300)
  endforeach()
endforeach()
