# Included by tests/CMakeLists.txt after the automation tests are defined.

# The tests read the written .docx back with libzip.
foreach(test document_server_test word_export_test)
  target_link_libraries(${test} PRIVATE PkgConfig::LIBZIP)
endforeach()
# The export lives with the main window, whose library brings the control and
# the record along.
target_link_libraries(word_export_test PRIVATE trelvanic_window)

# These run the built tool (the end-to-end check then LibreOffice and poppler).
foreach(test cli_document_test document_e2e_test)
  target_link_libraries(${test} PRIVATE trelvanic_record PkgConfig::LIBZIP)
  target_compile_definitions(${test} PRIVATE TRELVANIC_CLI="$<TARGET_FILE:trelvanic-cli>")
  add_dependencies(${test} trelvanic-cli)
endforeach()

# The COM server cannot run here, but it must keep building for Windows: the
# cross compiler links it into a DLL, which needs every symbol resolved.
find_program(TRELVANIC_MINGW_CXX x86_64-w64-mingw32-g++)
if(TRELVANIC_MINGW_CXX)
  set(automation_dir ${PROJECT_SOURCE_DIR}/app/automation)
  add_test(NAME automation_com_builds_for_windows
    COMMAND ${TRELVANIC_MINGW_CXX} -std=c++20 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror
      -I${PROJECT_SOURCE_DIR} -I${automation_dir} -shared
      -o ${CMAKE_CURRENT_BINARY_DIR}/com_automation_check.dll
      ${automation_dir}/com_automation.cpp ${automation_dir}/auto_object.cpp
      -lole32 -loleaut32 -luuid)
endif()
