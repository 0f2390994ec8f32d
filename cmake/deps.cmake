# The two outside libraries as imported targets: deps::jpeg, deps::mpg123, deps::syn123.
# Windows: the static builds in .deps/win64 (tools/setup/deps.sh). Host: Debian's -dev packages.
if(WIN32)
  foreach(lib jpeg mpg123 syn123)
    set(file "${SB_DEPS_PREFIX}/lib/lib${lib}.a")
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "${file} is missing: run tools/setup/deps.sh (./soundboard does it)")
    endif()
    add_library(deps::${lib} STATIC IMPORTED GLOBAL)
    set_target_properties(deps::${lib} PROPERTIES
      IMPORTED_LOCATION "${file}"
      INTERFACE_INCLUDE_DIRECTORIES "${SB_DEPS_PREFIX}/include")
  endforeach()
  set_property(TARGET deps::mpg123 PROPERTY INTERFACE_LINK_LIBRARIES shlwapi)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(sb_mpg123 REQUIRED IMPORTED_TARGET GLOBAL libmpg123)
  pkg_check_modules(sb_syn123 REQUIRED IMPORTED_TARGET GLOBAL libsyn123)
  find_package(JPEG REQUIRED)
  add_library(deps::jpeg ALIAS JPEG::JPEG)
  add_library(deps::mpg123 ALIAS PkgConfig::sb_mpg123)
  add_library(deps::syn123 ALIAS PkgConfig::sb_syn123)
endif()
