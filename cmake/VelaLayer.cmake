# One folder of src/ = one static library named vela_<folder>.
# The sources are every .cpp/.h in the folder, so adding a unit needs no CMake edit.
function(vela_add_layer name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(vela_${name} STATIC ${sources})
  target_include_directories(vela_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(vela_${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# One test program per tested folder: tests/<folder>/*.cpp linked to the given libraries.
function(vela_add_tests name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(test_${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/main/TestMain.cpp)
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPENDS} vela_testsupport GTest::gtest)
  gtest_discover_tests(test_${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELA_DIALOGS_SCRIPTED_ONLY=1;VELA_SOURCE_DIR=${PROJECT_SOURCE_DIR};${ARG_ENVIRONMENT}")
endfunction()
