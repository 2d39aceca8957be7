# libFuzzer targets (native clang build only): FOLDER/fuzz/*.cpp, one target each,
# run for a short bounded time by the test command; FOLDER/fuzz/NAME.seeds/ holds
# seed inputs.
if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  return()
endif()
foreach(folder IN LISTS QORN_FOLDERS)
  file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/fuzz/*.cpp)
  string(REPLACE "/" "_" prefix "${folder}")
  foreach(f IN LISTS fuzzers)
    get_filename_component(name ${f} NAME_WE)
    set(exe fuzz_${prefix}_${name})
    add_executable(${exe} ${f})
    target_compile_options(${exe} PRIVATE -fsanitize=fuzzer)
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
    qorn_link_all(${exe})
    # Seed inputs kept beside the target (FOLDER/fuzz/NAME.seeds/) start the search
    # from valid files; new finds go into the build's own corpus folder.
    set(seeds "")
    if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${folder}/fuzz/${name}.seeds)
      set(seeds ${CMAKE_SOURCE_DIR}/${folder}/fuzz/${name}.seeds)
    endif()
    add_test(NAME fuzz/${prefix}/${name}
      COMMAND ${exe} -max_total_time=20 -timeout=5 -rss_limit_mb=1024
              ${CMAKE_BINARY_DIR}/fuzz-corpus/${exe} ${seeds})
    set_tests_properties(fuzz/${prefix}/${name} PROPERTIES TIMEOUT 120)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/${exe})
  endforeach()
endforeach()
