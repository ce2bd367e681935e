# The suites that make their own far ends (pseudo-terminals, child processes) are
# built where those exist; the Windows build has the rest.
if(WIN32)
  set(VARELO_POSIX_TESTS OFF)
else()
  set(VARELO_POSIX_TESTS ON)
endif()
# Under an emulator (wine), cases are listed when the tests run, inside the test
# script's prepared session, never while building.
if(CMAKE_CROSSCOMPILING)
  set(varelo_discovery PRE_TEST)
else()
  set(varelo_discovery POST_BUILD)
endif()

# varelo_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, its cases registered with CTest one by one.
# GUI tests run on the offscreen platform so that no display is needed.
function(varelo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  if(WIN32 AND TARGET Qt6::QOffscreenIntegrationPlugin)
    qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)  # a static Qt links plugins by name
  endif()
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE ${varelo_discovery})
endfunction()
