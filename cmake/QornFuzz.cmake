# libFuzzer targets (native clang build only): FOLDER/fuzz/*.cpp, one target each,
# run for a short bounded time by the test command; FOLDER/fuzz/NAME.seeds/ holds
# seed inputs, FOLDER/fuzz/NAME.options more flags for the target.
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
    # FOLDER/fuzz/NAME.options: more libFuzzer flags for that target, one a line
    # (e.g. -max_len=400000 where faults come with the size of the input).
    set(options "")
    if(EXISTS ${CMAKE_SOURCE_DIR}/${folder}/fuzz/${name}.options)
      file(STRINGS ${CMAKE_SOURCE_DIR}/${folder}/fuzz/${name}.options options REGEX "^-")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${folder}/fuzz/${name}.options)
    endif()
    add_test(NAME fuzz/${prefix}/${name}
      COMMAND ${exe} -max_total_time=20 -timeout=5 -rss_limit_mb=1024 ${options}
              ${CMAKE_BINARY_DIR}/fuzz-corpus/${exe} ${seeds})
    set_tests_properties(fuzz/${prefix}/${name} PROPERTIES TIMEOUT 120)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/${exe})
  endforeach()
endforeach()
