# Included by tests/CMakeLists.txt. The Windows branch of the GBK converter
# cannot run here, but it must keep compiling for Windows.
find_program(TRELVANIC_MINGW_CXX x86_64-w64-mingw32-g++)
if(TRELVANIC_MINGW_CXX)
  add_test(NAME record_gbk_codec_builds_for_windows
    COMMAND ${TRELVANIC_MINGW_CXX} -std=c++20 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror
      -I${PROJECT_SOURCE_DIR}/control -c -o ${CMAKE_CURRENT_BINARY_DIR}/gbk_codec_windows_check.o
      ${PROJECT_SOURCE_DIR}/app/record/gbk_codec.cpp)
endif()
