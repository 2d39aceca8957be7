# The outside libraries as two interface targets: qorn_deps (zlib, libpng,
# libjpeg, giflib, libcrypto, TagLib) and qorn_gtest (GoogleTest; with its main
# natively, while Windows test programs start in testing/TestMain.win.cpp).
add_library(qorn_deps INTERFACE)
add_library(qorn_gtest INTERFACE)

if(WIN32)
  if(DEFINED ENV{QORN_DEPS})
    set(QORN_DEPS $ENV{QORN_DEPS})
  elseif(DEFINED ENV{QORN_CACHE})
    set(QORN_DEPS $ENV{QORN_CACHE}/deps-current)
  else()
    set(QORN_DEPS $ENV{HOME}/.cache/qorn/deps-current)
  endif()
  if(NOT EXISTS ${QORN_DEPS}/.complete)
    message(FATAL_ERROR "The cross-built libraries are missing in ${QORN_DEPS}: run scripts/setup.sh")
  endif()
  set(d ${QORN_DEPS}/lib)
  target_include_directories(qorn_deps SYSTEM INTERFACE ${QORN_DEPS}/include)
  target_compile_definitions(qorn_deps INTERFACE TAGLIB_STATIC UNICODE _UNICODE)
  target_link_libraries(qorn_deps INTERFACE
    ${d}/libtag.a ${d}/libpng16.a ${d}/libjpeg.a ${d}/libgif.a ${d}/libcrypto.a
    /usr/x86_64-w64-mingw32/lib/libz.a)
  target_link_libraries(qorn_gtest INTERFACE ${d}/libgmock.a ${d}/libgtest.a)

  # The Win32 libraries any folder may call.
  add_library(qorn_win32_libs INTERFACE)
  target_link_libraries(qorn_win32_libs INTERFACE
    comctl32 comdlg32 uxtheme shell32 shlwapi ole32 oleaut32 uuid winmm ws2_32 wininet version
    msimg32 wtsapi32 psapi dwmapi crypt32 bcrypt gdi32 user32 advapi32 kernel32)
  target_link_libraries(qorn_deps INTERFACE qorn_win32_libs)
  # Windows paths for tests: wine maps the Unix root to Z:.
  set(QORN_PATH_PREFIX "Z:")
else()
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(GIF REQUIRED)
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  find_package(ZLIB REQUIRED)
  find_package(GTest REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TAGLIB REQUIRED IMPORTED_TARGET taglib)
  # The picture libraries: the system's, except in the fuzz targets (cmake/QornFuzz.cmake
  # sets QORN_FUZZ_TARGET on them), which link the same releases built with fuzzer
  # instrumentation by scripts/build-fuzz-deps.sh, so that a fuzz run is steered by the
  # coverage inside the decoders. Both builds compile against the system's headers.
  # They come first in the link: TagLib names the system's zlib too.
  target_include_directories(qorn_deps SYSTEM INTERFACE
    ${PNG_INCLUDE_DIRS} ${JPEG_INCLUDE_DIRS} ${GIF_INCLUDE_DIRS} ${ZLIB_INCLUDE_DIRS})
  set(system_picture_libs PNG::PNG JPEG::JPEG GIF::GIF ZLIB::ZLIB)
  set(fuzz_target "$<BOOL:$<TARGET_PROPERTY:QORN_FUZZ_TARGET>>")
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    if(DEFINED ENV{QORN_FUZZ_DEPS})
      set(QORN_FUZZ_DEPS $ENV{QORN_FUZZ_DEPS})
    elseif(DEFINED ENV{QORN_CACHE})
      set(QORN_FUZZ_DEPS $ENV{QORN_CACHE}/fuzzdeps-current)
    else()
      set(QORN_FUZZ_DEPS $ENV{HOME}/.cache/qorn/fuzzdeps-current)
    endif()
    if(NOT EXISTS ${QORN_FUZZ_DEPS}/.complete)
      message(FATAL_ERROR "The instrumented picture libraries are missing in ${QORN_FUZZ_DEPS}: run scripts/setup.sh")
    endif()
    set(f ${QORN_FUZZ_DEPS}/lib)
    # libpng calls zlib: zlib last.
    set(fuzz_picture_libs ${f}/libpng16.a ${f}/libjpeg.a ${f}/libgif.a ${f}/libz.a)
    target_link_libraries(qorn_deps INTERFACE
      "$<${fuzz_target}:${fuzz_picture_libs}>" "$<$<NOT:${fuzz_target}>:${system_picture_libs}>")
  else()
    target_link_libraries(qorn_deps INTERFACE ${system_picture_libs})
  endif()
  target_link_libraries(qorn_deps INTERFACE OpenSSL::Crypto PkgConfig::TAGLIB)
  target_link_libraries(qorn_gtest INTERFACE GTest::gmock GTest::gtest_main GTest::gtest)
  set(QORN_PATH_PREFIX "")

  option(QORN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
  if(QORN_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
    # Coverage for libFuzzer in every library, so the fuzz targets are steered by
    # what they reach inside our parsers and decoders, not by their own few lines.
    # Programs without libFuzzer get the sanitizer runtime's empty hooks.
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
  endif()
endif()
