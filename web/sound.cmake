# The browser's sound: what an emscripten build needs to link Music (Music.h) with
# Web Audio playback and the desktop's spectrum. Include it from the web build:
#   DEDOZ_WEB_SOUND_SOURCES   Music's sources for the page (a `music` library of them),
#                             compiled with the build's exception mode (-fwasm-exceptions:
#                             Music catches its failures at its boundary)
#   dedoz_web_sound(<program> [MUSIC <mp3>])
#                             links the JavaScript library Music/Browser/sound.js into the
#                             program and writes sound-libs.js (the pinned npm packages
#                             fft.js and mpg123-decoder, joined by web/sound-libs/*.js)
#                             beside its .js; MUSIC preloads the MP3 into the module's
#                             files at data/music/<name>, where Music::load reads it.
# The packages come from node_modules/, installed by `npm ci` when they are missing.
get_filename_component(DEDOZ_WEB_SOUND_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(DEDOZ_WEB_SOUND_SOURCES
    ${DEDOZ_WEB_SOUND_ROOT}/Music/Music.cpp
    ${DEDOZ_WEB_SOUND_ROOT}/Music/SoundError.cpp
    ${DEDOZ_WEB_SOUND_ROOT}/Music/FrameTime.cpp
    ${DEDOZ_WEB_SOUND_ROOT}/Music/SpectrumAnalyser.cpp
    ${DEDOZ_WEB_SOUND_ROOT}/Music/Browser/Player.cpp
    ${DEDOZ_WEB_SOUND_ROOT}/Music/Browser/RealFft.cpp)
set(DEDOZ_WEB_SOUND_JS ${DEDOZ_WEB_SOUND_ROOT}/Music/Browser/sound.js)

set(_sound_modules ${DEDOZ_WEB_SOUND_ROOT}/node_modules)
if(NOT EXISTS ${_sound_modules}/mpg123-decoder/dist/mpg123-decoder.min.js
   OR NOT EXISTS ${_sound_modules}/fft.js/lib/fft.js)
  find_program(DEDOZ_NPM npm)
  if(NOT DEDOZ_NPM)
    message(FATAL_ERROR "The web build needs npm for the page's packages: scripts/install-deps.sh --web")
  endif()
  message(STATUS "Installing the page's npm packages (npm ci)")
  execute_process(COMMAND ${DEDOZ_NPM} ci --no-audit --no-fund
                  WORKING_DIRECTORY ${DEDOZ_WEB_SOUND_ROOT} RESULT_VARIABLE _npm_result
                  OUTPUT_QUIET)
  if(NOT _npm_result EQUAL 0)
    message(FATAL_ERROR "npm ci failed in ${DEDOZ_WEB_SOUND_ROOT}: the page's packages are missing")
  endif()
endif()

function(dedoz_web_sound target)
  cmake_parse_arguments(S "" "MUSIC" "" ${ARGN})
  # Memory grows: the decoded soundtrack (36 MB for 103 s of stereo) lives on the
  # JavaScript side, but the module's own files hold the MP3.
  target_link_options(${target} PRIVATE "SHELL:--js-library ${DEDOZ_WEB_SOUND_JS}"
                      -sALLOW_MEMORY_GROWTH=1)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${DEDOZ_WEB_SOUND_JS})
  if(S_MUSIC)
    get_filename_component(_name ${S_MUSIC} NAME)
    target_link_options(${target} PRIVATE "SHELL:--preload-file ${S_MUSIC}@/data/music/${_name}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${S_MUSIC})
  endif()
  get_target_property(_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT _dir)
    set(_dir ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(_libs ${_dir}/sound-libs.js)
  set(_parts ${DEDOZ_WEB_SOUND_ROOT}/web/sound-libs/head.js ${_sound_modules}/fft.js/lib/fft.js
      ${DEDOZ_WEB_SOUND_ROOT}/web/sound-libs/middle.js
      ${_sound_modules}/mpg123-decoder/dist/mpg123-decoder.min.js)
  add_custom_command(OUTPUT ${_libs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
    COMMAND ${CMAKE_COMMAND} -E cat ${_parts} > ${_libs}
    DEPENDS ${_parts} ${DEDOZ_WEB_SOUND_ROOT}/package-lock.json
    COMMENT "Bundling the page's sound packages into ${_libs}")
  add_custom_target(${target}_sound_libs DEPENDS ${_libs})
  add_dependencies(${target} ${target}_sound_libs)
endfunction()
