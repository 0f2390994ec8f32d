# GoogleTest from Debian's sources, built with whichever toolchain this tree uses.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)

# sb_add_test(NAME <name> SOURCES <files...> [LIBRARIES <libs...>] [WORKING_DIRECTORY <dir>])
# One test program is one ctest entry: under Wine every start costs time.
function(sb_add_test)
  cmake_parse_arguments(arg "" "NAME;WORKING_DIRECTORY" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${arg_NAME} ${arg_SOURCES})
  target_link_libraries(${arg_NAME} PRIVATE ${arg_LIBRARIES} GTest::gmock GTest::gtest_main)
  if(WIN32)
    # Console subsystem, so gtest's report reaches the terminal through Wine.
    target_link_options(${arg_NAME} PRIVATE -mconsole)
  endif()
  if(NOT arg_WORKING_DIRECTORY)
    set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  add_test(NAME ${arg_NAME} COMMAND ${arg_NAME} WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}")
endfunction()
