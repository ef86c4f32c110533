# Included by tests/CMakeLists.txt after the cli tests are defined: they run
# the built tool as a subprocess and render its SVG pictures with Qt Svg.
find_package(Qt6 REQUIRED COMPONENTS Svg)
file(GLOB cli_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cli/*_test.cpp)
foreach(source ${cli_tests})
  get_filename_component(test ${source} NAME_WE)
  target_link_libraries(${test} PRIVATE Qt6::Svg)
  target_compile_definitions(${test} PRIVATE TRELVANIC_CLI="$<TARGET_FILE:trelvanic-cli>")
  add_dependencies(${test} trelvanic-cli)
endforeach()
