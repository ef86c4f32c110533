# Included by tests/CMakeLists.txt after the reliability tests are defined:
# they drive the window, the built trelvanic-cli and the automation layer with
# the helpers of those layers' own tests.
file(GLOB reliability_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/reliability/*_test.cpp)
foreach(source ${reliability_tests})
  get_filename_component(test ${source} NAME_WE)
  target_include_directories(${test} PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/window ${CMAKE_CURRENT_SOURCE_DIR}/cli ${CMAKE_CURRENT_SOURCE_DIR}/automation)
  target_link_libraries(${test} PRIVATE PkgConfig::LIBZIP)
  target_compile_definitions(${test} PRIVATE TRELVANIC_CLI="$<TARGET_FILE:trelvanic-cli>")
  add_dependencies(${test} trelvanic-cli)
endforeach()
