# The outside libraries as imported targets: deps::jpeg, deps::mpg123, deps::syn123, and the
# decoders deps::vorbisfile, deps::opusfile, deps::flac (each bringing what it builds on), and the
# MIDI synthesizer deps::timidity.
# Windows: the static builds in .deps/win64 (tools/setup/deps.sh). Host: Debian's -dev packages,
# and the synthesizer from .deps/host (no Debian package has it as a library of its own).
# SB_MIDI_PATCHES: the General MIDI patch set (freepats) that the synthesizer reads at run time;
# whatever runs the MIDI decoder finds it as midi/freepats beside its own module.
set(SB_MIDI_PATCHES "${CMAKE_SOURCE_DIR}/.deps/win64/share/midi/freepats")
if(NOT EXISTS "${SB_MIDI_PATCHES}/crude.cfg")
  message(FATAL_ERROR "${SB_MIDI_PATCHES} is missing: run tools/setup/deps.sh (./soundboard does it)")
endif()
function(sb_timidity_target prefix)
  if(NOT EXISTS "${prefix}/lib/libtimidity.a")
    message(FATAL_ERROR "${prefix}/lib/libtimidity.a is missing: run tools/setup/deps.sh (./soundboard does it)")
  endif()
  add_library(sb_static_timidity STATIC IMPORTED GLOBAL)
  set_target_properties(sb_static_timidity PROPERTIES
    IMPORTED_LOCATION "${prefix}/lib/libtimidity.a"
    INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include/timidity")
  add_library(deps::timidity ALIAS sb_static_timidity)
endfunction()
if(WIN32)
  # A release for hosts ships mpg123 and syn123 (LGPL) as DLLs of their own, so that a user can put in
  # their own build of them; the test trees link them statically. They sit beside the program, not in
  # plugins/: the board loads plugins\bass.dll by its path, and Windows looks for that DLL's imports in
  # the program's folder.
  option(SB_MPG123_DLL "Link mpg123 and syn123 as DLLs beside the program instead of statically" OFF)
  foreach(lib jpeg mpg123 syn123 ogg vorbis vorbisfile opus opusfile FLAC)
    set(file "${SB_DEPS_PREFIX}/lib/lib${lib}.a")
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "${file} is missing: run tools/setup/deps.sh (./soundboard does it)")
    endif()
    add_library(sb_static_${lib} STATIC IMPORTED GLOBAL)
    set_target_properties(sb_static_${lib} PROPERTIES
      IMPORTED_LOCATION "${file}"
      INTERFACE_INCLUDE_DIRECTORIES "${SB_DEPS_PREFIX}/include")
  endforeach()
  set_property(TARGET sb_static_mpg123 PROPERTY INTERFACE_LINK_LIBRARIES shlwapi)
  sb_timidity_target("${SB_DEPS_PREFIX}")
  foreach(lib jpeg ogg vorbis vorbisfile opus opusfile FLAC)
    add_library(deps::${lib} ALIAS sb_static_${lib})
  endforeach()
  set_property(TARGET sb_static_vorbis PROPERTY INTERFACE_LINK_LIBRARIES deps::ogg)
  set_property(TARGET sb_static_vorbisfile PROPERTY INTERFACE_LINK_LIBRARIES deps::vorbis)
  set_property(TARGET sb_static_opusfile PROPERTY INTERFACE_LINK_LIBRARIES deps::opus deps::ogg)
  # opusfile.h includes the codec's headers by their bare names.
  set_property(TARGET sb_static_opusfile PROPERTY INTERFACE_INCLUDE_DIRECTORIES
    "${SB_DEPS_PREFIX}/include" "${SB_DEPS_PREFIX}/include/opus")
  # opus and FLAC build with fortified memcpy/memset: the compiler's own static libssp has them.
  execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=libssp.a
    OUTPUT_VARIABLE sb_libssp OUTPUT_STRIP_TRAILING_WHITESPACE)
  add_library(deps::ssp STATIC IMPORTED GLOBAL)
  set_target_properties(deps::ssp PROPERTIES IMPORTED_LOCATION "${sb_libssp}")
  set_property(TARGET sb_static_opus PROPERTY INTERFACE_LINK_LIBRARIES deps::ssp)
  set_property(TARGET sb_static_FLAC PROPERTY INTERFACE_LINK_LIBRARIES deps::ssp)
  # Linked statically: without this the headers ask for the DLL's imports.
  set_property(TARGET sb_static_FLAC PROPERTY INTERFACE_COMPILE_DEFINITIONS FLAC__NO_DLL)
  add_library(deps::flac ALIAS sb_static_FLAC)

  if(SB_MPG123_DLL)
    # Each DLL is the whole cached static library, under the name mpg123's own Windows build gives it.
    set(empty_source "${CMAKE_BINARY_DIR}/sb_empty.c")
    file(WRITE "${empty_source}" "/* Nothing of its own: the DLL is the whole static library. */\n")
    foreach(lib mpg123 syn123)
      add_library(sb_${lib}_dll SHARED "${empty_source}")
      target_link_libraries(sb_${lib}_dll PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,sb_static_${lib}>")
      target_link_options(sb_${lib}_dll PRIVATE -Wl,--export-all-symbols)
      target_include_directories(sb_${lib}_dll INTERFACE "${SB_DEPS_PREFIX}/include")
      set_target_properties(sb_${lib}_dll PROPERTIES PREFIX "lib" OUTPUT_NAME "${lib}-0"
        RUNTIME_OUTPUT_DIRECTORY "${SB_DIST_DIR}")
      add_library(deps::${lib} ALIAS sb_${lib}_dll)
    endforeach()
  else()
    add_library(deps::mpg123 ALIAS sb_static_mpg123)
    add_library(deps::syn123 ALIAS sb_static_syn123)
  endif()
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
  sb_timidity_target("${CMAKE_SOURCE_DIR}/.deps/host")
  set_property(TARGET sb_static_timidity PROPERTY INTERFACE_LINK_LIBRARIES m)
endif()
