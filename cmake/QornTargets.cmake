# Conventions for the subsystem folders:
#   FOLDER/*.cpp           built everywhere (no <windows.h>; native tests and fuzzing use them)
#   FOLDER/*.win.cpp       built for Windows only
#   FOLDER/*.form          form resources, compiled into every Windows program as RCDATA
#                          named after the file (MainForm.form -> resource "MAINFORM")
#   FOLDER/tests/*.cpp     one GoogleTest program each; *.win.cpp ones run under wine only
#   FOLDER/tests/*.win.sh  a test driven from the Linux side (Windows build)
#   FOLDER/tests/tools/*.cpp  helper programs of tests
#   FOLDER/tests/dlls/*.cpp   libraries tests load, in bin/testdlls
#   FOLDER/fuzz/*.cpp      one libFuzzer target each (native build only)
# A test file may name locks it must hold alone ("// ctest-lock: main-window", "// ctest-serial").
# Each folder becomes the static library qorn_<folder>, e.g. qorn_controls_visual.

set(QORN_WARNINGS -Wall -Wextra)
set(QORN_ALL_LIBS "")
set(QORN_FORM_FILES "")

function(qorn_lib_name folder out)
  string(REGEX REPLACE "[/-]" "_" n "${folder}")
  set(${out} qorn_${n} PARENT_SCOPE)
endfunction()

function(qorn_folder folder)
  qorn_lib_name(${folder} lib)
  set(dir ${CMAKE_SOURCE_DIR}/${folder})
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(sources "")
  foreach(f IN LISTS all)
    if(f MATCHES "\\.win\\.cpp$")
      if(WIN32)
        list(APPEND sources ${f})
      endif()
    else()
      list(APPEND sources ${f})
    endif()
  endforeach()
  if(WIN32)
    file(GLOB forms CONFIGURE_DEPENDS ${dir}/*.form)
    set(QORN_FORM_FILES ${QORN_FORM_FILES} ${forms} PARENT_SCOPE)
  endif()
  if(sources)
    add_library(${lib} STATIC ${sources})
  else()
    add_library(${lib} INTERFACE)
  endif()
  set(scope PUBLIC)
  if(NOT sources)
    set(scope INTERFACE)
  endif()
  target_include_directories(${lib} ${scope} ${CMAKE_SOURCE_DIR})
  if(sources)
    target_compile_options(${lib} PRIVATE ${QORN_WARNINGS})
  endif()
  # Every folder may use every library; the final link resolves what is used.
  target_link_libraries(${lib} ${scope} qorn_deps)
  set(QORN_ALL_LIBS ${QORN_ALL_LIBS} ${lib} PARENT_SCOPE)
  # A folder's class registration (vcl/ClassRegistry.h): called by the generated
  # RegisterAllClasses() of every program.
  set(registration ${dir}/Registration.cpp)
  if(WIN32 AND EXISTS ${dir}/Registration.win.cpp)
    set(registration ${dir}/Registration.win.cpp)
  endif()
  if(EXISTS ${registration})
    string(REGEX REPLACE "[/-]" "_" id "${folder}")
    set(QORN_REGISTRATIONS ${QORN_REGISTRATIONS} ${id} PARENT_SCOPE)
  endif()
endfunction()

# RegisterAllClasses(): one call of each folder's registration function, compiled into
# every program, so a class a form names only in its text is always found.
function(qorn_make_class_registry)
  set(src ${CMAKE_BINARY_DIR}/generated/ClassRegistry.cpp)
  set(text "// Generated: every folder's class registration (vcl/ClassRegistry.h).\n")
  string(APPEND text "#include \"vcl/ClassRegistry.h\"\n\n")
  foreach(id IN LISTS QORN_REGISTRATIONS)
    string(APPEND text "void RegisterClassesOf_${id}();\n")
  endforeach()
  string(APPEND text "\nvoid RegisterAllClasses() {\n  static bool done = false;\n  if (done) return;\n  done = true;\n")
  foreach(id IN LISTS QORN_REGISTRATIONS)
    string(APPEND text "  RegisterClassesOf_${id}();\n")
  endforeach()
  string(APPEND text "}\n\n// Before main: test programs and tools get every class without a call of their own.\n")
  string(APPEND text "[[maybe_unused]] static const bool qornAllClassesRegistered = (RegisterAllClasses(), true);\n")
  file(CONFIGURE OUTPUT ${src} CONTENT "${text}")
  set(QORN_CLASS_REGISTRY ${src} PARENT_SCOPE)
endfunction()

# All subsystem libraries in one link group, so their mutual references resolve.
function(qorn_link_all target)
  set(group "")
  foreach(l IN LISTS QORN_ALL_LIBS)
    get_target_property(type ${l} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND group ${l})
    endif()
  endforeach()
  string(REPLACE ";" "," joined "${group}")
  target_link_libraries(${target} PRIVATE "$<LINK_GROUP:RESCAN,${joined}>" qorn_deps)
  if(QORN_CLASS_REGISTRY)
    target_sources(${target} PRIVATE ${QORN_CLASS_REGISTRY})
  endif()
  if(WIN32)
    if(QORN_FORMS_RC)
      target_sources(${target} PRIVATE ${QORN_FORMS_RC})
      # Source properties belong to a directory: a program made in another folder
      # (Qorn.exe) must hear of changed forms too, or it keeps the old resources.
      set_source_files_properties(${QORN_FORMS_RC} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
                                  "${QORN_FORM_FILES}")
    endif()
    if(QORN_PICTURES_RC)
      target_sources(${target} PRIVATE ${QORN_PICTURES_RC})
    endif()
    target_link_libraries(${target} PRIVATE qorn_win32_libs)
  endif()
endfunction()

# Windows forms resource: one RCDATA per .form file, built once and linked into
# the program and every test program (resources in a static library would be dropped).
function(qorn_make_forms_rc)
  if(NOT QORN_FORM_FILES)
    return()
  endif()
  set(rc ${CMAKE_BINARY_DIR}/generated/forms.rc)
  set(text "// Generated: the form resources of every folder.\n")
  foreach(f IN LISTS QORN_FORM_FILES)
    get_filename_component(base ${f} NAME_WE)
    string(TOUPPER ${base} id)
    string(APPEND text "${id} RCDATA \"${f}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${rc} CONTENT "${text}")
  set(QORN_FORMS_RC ${rc} PARENT_SCOPE)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${QORN_FORM_FILES}")
endfunction()

# The controls' stock bitmaps and cursors, drawn by our own script into the build
# folder and linked into every program like the forms.
function(qorn_make_pictures_rc)
  set(script ${CMAKE_SOURCE_DIR}/vcl/pictures/draw_pictures.py)
  set(out ${CMAKE_BINARY_DIR}/generated/pictures)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${script} ${out} RESULT_VARIABLE drawn)
  if(NOT drawn EQUAL 0)
    message(FATAL_ERROR "Drawing the stock pictures failed (${script})")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
  set(QORN_PICTURES_RC ${out}/pictures.rc PARENT_SCOPE)
endfunction()

# The popup skins the program ships: pictures drawn by our own script beside their
# descriptions, in build/<preset>/generated/skins/Popup/NAME/, laid into the program
# folder's "skins" by the dist target; tests read them there.
function(qorn_make_popup_skins)
  set(script ${CMAKE_SOURCE_DIR}/displays/skins/draw_skins.py)
  set(out ${CMAKE_BINARY_DIR}/generated/skins)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${script} ${out} RESULT_VARIABLE drawn)
  if(NOT drawn EQUAL 0)
    message(FATAL_ERROR "Drawing the popup skins failed (${script})")
  endif()
  file(GLOB descriptions ${CMAKE_SOURCE_DIR}/displays/skins/*/config.skin)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script} ${descriptions})
endfunction()

# Helper programs of tests (a key injector, a fake server...): FOLDER/tests/tools/*.cpp,
# one program each, named after its file, in the bin folder beside the tests.
function(qorn_test_tools folder)
  file(GLOB tools CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/tests/tools/*.cpp)
  foreach(t IN LISTS tools)
    if(t MATCHES "\\.win\\.cpp$" AND NOT WIN32)
      continue()
    endif()
    get_filename_component(name ${t} NAME)
    string(REGEX REPLACE "(\\.win)?\\.cpp$" "" name "${name}")
    add_executable(${name} ${t})
    # A tool that says "test-tool: no-console" is a windows program: started from
    # Qorn it opens no console window, which would take the activation from the
    # window a test types into.
    file(STRINGS ${t} no_console REGEX "test-tool: no-console" LIMIT_COUNT 1)
    if(no_console AND WIN32)
      set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE TRUE)
    endif()
    target_compile_options(${name} PRIVATE ${QORN_WARNINGS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    qorn_link_all(${name})
    if(WIN32)
      # Every program holds every class (vcl/ClassRegistry.h), the main window's too,
      # which calls the hook library directly.
      target_link_libraries(${name} PRIVATE Tenvora)
    endif()
  endforeach()
endfunction()

# A test file names what it must hold alone in comments: "ctest-lock: NAME" for a
# resource (the one TMainForm window, the fixed server port), "ctest-serial" when
# it needs the whole session (it sends real input, or needs the foreground window,
# which any other test showing a window could take).
function(qorn_test_locks file test)
  file(STRINGS ${file} lock_lines REGEX "ctest-lock: ")
  foreach(line IN LISTS lock_lines)
    string(REGEX REPLACE ".*ctest-lock: *" "" lock "${line}")
    set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${lock})
  endforeach()
  # Keyboard and focus tests need the foreground window, which any other test that
  # shows a window could take: they run alone.
  file(STRINGS ${file} serial_lines REGEX "ctest-serial|ctest-lock: keyboard")
  if(serial_lines)
    set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# The command of a test. A lock on a fixed port ("ctest-lock: NAME-port") is held
# against other test runs on the machine too when they share its network (see
# scripts/private-net.sh and scripts/machine-lock.sh); ctest's own lock covers
# only the tests of one run.
function(qorn_test_command file out)
  set(command ${ARGN})
  file(STRINGS ${file} port_lines REGEX "ctest-lock: *[A-Za-z0-9_-]+-port")
  if(port_lines)
    list(GET port_lines 0 line)
    string(REGEX REPLACE ".*ctest-lock: *([A-Za-z0-9_-]+-port).*" "\\1" lock "${line}")
    list(GET command 0 first)
    if(TARGET ${first} AND CMAKE_CROSSCOMPILING_EMULATOR)
      list(POP_FRONT command)
      set(command ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${first}> ${command})
    elseif(TARGET ${first})
      list(POP_FRONT command)
      set(command $<TARGET_FILE:${first}> ${command})
    endif()
    set(command bash ${CMAKE_SOURCE_DIR}/scripts/machine-lock.sh ${lock} ${command})
  endif()
  set(${out} ${command} PARENT_SCOPE)
endfunction()

# Tests driven from the Linux side (a real server started beside a program under
# wine): FOLDER/tests/NAME.win.sh, run by bash in the Windows build with
# QORN_BIN (the bin folder) and QORN_WINE_RUN (the wine runner) set.
function(qorn_script_tests folder)
  if(NOT WIN32)
    return()
  endif()
  file(GLOB scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/tests/*.win.sh)
  string(REPLACE "/" "_" prefix "${folder}")
  foreach(t IN LISTS scripts)
    get_filename_component(name ${t} NAME)
    string(REGEX REPLACE "\\.win\\.sh$" "" name "${name}")
    qorn_test_command(${t} command bash ${t})
    add_test(NAME ${prefix}/${name} COMMAND ${command} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_tests_properties(${prefix}/${name} PROPERTIES TIMEOUT 300
      ENVIRONMENT "QORN_BIN=${CMAKE_BINARY_DIR}/bin;QORN_WINE_RUN=${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")
    qorn_test_locks(${t} ${prefix}/${name})
  endforeach()
endfunction()

# Libraries tests load (fake plug-ins...): FOLDER/tests/dlls/NAME.cpp -> bin/testdlls/NAME.dll.
function(qorn_test_dlls folder)
  if(NOT WIN32)
    return()
  endif()
  file(GLOB dlls CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/tests/dlls/*.cpp)
  foreach(d IN LISTS dlls)
    get_filename_component(name ${d} NAME_WE)
    add_library(${name} SHARED ${d})
    set_target_properties(${name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/testdlls)
    target_compile_options(${name} PRIVATE ${QORN_WARNINGS})
    set_property(GLOBAL APPEND PROPERTY QORN_TEST_DLLS ${name})
  endforeach()
endfunction()

# Tests: one program per file. Windows ones run under wine through the emulator.
function(qorn_folder_tests folder)
  qorn_test_dlls(${folder})
  qorn_test_tools(${folder})
  qorn_script_tests(${folder})
  set(dir ${CMAKE_SOURCE_DIR}/${folder}/tests)
  file(GLOB tests CONFIGURE_DEPENDS ${dir}/*.cpp)
  string(REPLACE "/" "_" prefix "${folder}")
  foreach(t IN LISTS tests)
    if(t MATCHES "\\.win\\.cpp$" AND NOT WIN32)
      continue()
    endif()
    get_filename_component(name ${t} NAME)
    string(REGEX REPLACE "(\\.win)?\\.cpp$" "" name "${name}")
    set(exe test_${prefix}_${name})
    add_executable(${exe} ${t})
    target_compile_options(${exe} PRIVATE ${QORN_WARNINGS})
    target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR})
    qorn_link_all(${exe})
    target_link_libraries(${exe} PRIVATE qorn_testing qorn_gtest)
    target_compile_definitions(${exe} PRIVATE
      QORN_SOURCE_DIR="${QORN_PATH_PREFIX}${CMAKE_SOURCE_DIR}"
      QORN_BINARY_DIR="${QORN_PATH_PREFIX}${CMAKE_BINARY_DIR}")
    if(WIN32)
      # Tests may load the hook library, the plug-in or start the real program.
      add_dependencies(${exe} Tenvora Ranlowe Qorn)
      # The main window calls the hook library directly; a test that makes one links it as the program does.
      target_link_libraries(${exe} PRIVATE Tenvora)
      get_property(test_dlls GLOBAL PROPERTY QORN_TEST_DLLS)
      if(test_dlls)
        add_dependencies(${exe} ${test_dlls})
      endif()
    endif()
    qorn_test_command(${t} command ${exe})
    add_test(NAME ${prefix}/${name} COMMAND ${command} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    # GoogleTest counts a skip as a pass and a program with no test in it as green:
    # both fail here, so a test that cannot check what it names is seen.
    set_tests_properties(${prefix}/${name} PROPERTIES TIMEOUT 300
      FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\];\\[==========\\] 0 tests from")
    # Tests that move the one mouse cursor of the display, inject input, say they
    # move the activation around ("desktop-input" in a comment), or read the screen
    # (a screenshot lifts its window above the others for a moment) take turns.
    file(STRINGS ${t} moves_input REGEX "SetCursorPos|SendInput|mouse_event|keybd_event|desktop-input|SaveWindowShot|SaveScreenshot" LIMIT_COUNT 1)
    if(moves_input)
      set_tests_properties(${prefix}/${name} PROPERTIES RESOURCE_LOCK desktop_input)
    endif()
    qorn_test_locks(${t} ${prefix}/${name})
  endforeach()
endfunction()
