# The outside libraries as imported targets: deps::jpeg, deps::mpg123, deps::syn123, and the
# decoders deps::vorbisfile, deps::opusfile, deps::flac (each bringing what it builds on).
# Windows: the static builds in .deps/win64 (tools/setup/deps.sh). Host: Debian's -dev packages.
if(WIN32)
  foreach(lib jpeg mpg123 syn123 ogg vorbis vorbisfile opus opusfile FLAC)
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
  set_property(TARGET deps::vorbis PROPERTY INTERFACE_LINK_LIBRARIES deps::ogg)
  set_property(TARGET deps::vorbisfile PROPERTY INTERFACE_LINK_LIBRARIES deps::vorbis)
  set_property(TARGET deps::opusfile PROPERTY INTERFACE_LINK_LIBRARIES deps::opus deps::ogg)
  # opusfile.h includes the codec's headers by their bare names.
  set_property(TARGET deps::opusfile PROPERTY INTERFACE_INCLUDE_DIRECTORIES
    "${SB_DEPS_PREFIX}/include" "${SB_DEPS_PREFIX}/include/opus")
  # opus and FLAC build with fortified memcpy/memset: the compiler's own static libssp has them.
  execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=libssp.a
    OUTPUT_VARIABLE sb_libssp OUTPUT_STRIP_TRAILING_WHITESPACE)
  add_library(deps::ssp STATIC IMPORTED GLOBAL)
  set_target_properties(deps::ssp PROPERTIES IMPORTED_LOCATION "${sb_libssp}")
  set_property(TARGET deps::opus PROPERTY INTERFACE_LINK_LIBRARIES deps::ssp)
  set_property(TARGET deps::FLAC PROPERTY INTERFACE_LINK_LIBRARIES deps::ssp)
  # Linked statically: without this the headers ask for the DLL's imports.
  set_property(TARGET deps::FLAC PROPERTY INTERFACE_COMPILE_DEFINITIONS FLAC__NO_DLL)
  add_library(deps::flac ALIAS deps::FLAC)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(sb_mpg123 REQUIRED IMPORTED_TARGET GLOBAL libmpg123)
  pkg_check_modules(sb_syn123 REQUIRED IMPORTED_TARGET GLOBAL libsyn123)
  pkg_check_modules(sb_vorbisfile REQUIRED IMPORTED_TARGET GLOBAL vorbisfile vorbis)
  pkg_check_modules(sb_opusfile REQUIRED IMPORTED_TARGET GLOBAL opusfile)
  pkg_check_modules(sb_flac REQUIRED IMPORTED_TARGET GLOBAL flac)
  find_package(JPEG REQUIRED)
  add_library(deps::jpeg ALIAS JPEG::JPEG)
  add_library(deps::mpg123 ALIAS PkgConfig::sb_mpg123)
  add_library(deps::syn123 ALIAS PkgConfig::sb_syn123)
  add_library(deps::vorbisfile ALIAS PkgConfig::sb_vorbisfile)
  add_library(deps::opusfile ALIAS PkgConfig::sb_opusfile)
  add_library(deps::flac ALIAS PkgConfig::sb_flac)
endif()
