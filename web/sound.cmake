# The browser's sound: what an emscripten build of the show (or of a test page)
# needs to link Music. Include it from the web build, then for each program:
#   dedoz_web_sound(<target>)
# adds the sound sources, the JavaScript library and flags, and writes
# sound-libs.js (the pinned npm packages fft.js and mpg123-decoder joined into one
# script by web/sound-libs-*.js) beside the program's .js file. The packages come from node_modules/,
# installed by `npm ci` from package-lock.json when they are missing.
set(DEDOZ_WEB_SOUND_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../Music/Music.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../Music/SoundError.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../Music/FrameTime.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../Music/SpectrumAnalyser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../Music/Browser/Player.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../Music/Browser/RealFft.cpp)
get_filename_component(DEDOZ_WEB_SOUND_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(DEDOZ_WEB_SOUND_JS ${DEDOZ_WEB_SOUND_ROOT}/Music/Browser/sound.js)
# Music reports its failures through exceptions caught at its boundary: the module
# must catch them (emscripten's default aborts on any throw).
set(DEDOZ_WEB_SOUND_COMPILE_OPTIONS -fexceptions)
set(DEDOZ_WEB_SOUND_LINK_OPTIONS -fexceptions "SHELL:--js-library ${DEDOZ_WEB_SOUND_JS}"
    -sALLOW_MEMORY_GROWTH=1)

set(_sound_modules ${DEDOZ_WEB_SOUND_ROOT}/node_modules)
if(NOT EXISTS ${_sound_modules}/mpg123-decoder/dist/mpg123-decoder.min.js
   OR NOT EXISTS ${_sound_modules}/fft.js/lib/fft.js)
  find_program(DEDOZ_NPM npm)
  if(NOT DEDOZ_NPM)
    message(FATAL_ERROR "The web build needs npm to install its packages (scripts/install-deps.sh web)")
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
  target_sources(${target} PRIVATE ${DEDOZ_WEB_SOUND_SOURCES})
  target_include_directories(${target} PRIVATE ${DEDOZ_WEB_SOUND_ROOT})
  target_compile_options(${target} PRIVATE ${DEDOZ_WEB_SOUND_COMPILE_OPTIONS})
  target_link_options(${target} PRIVATE ${DEDOZ_WEB_SOUND_LINK_OPTIONS})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${DEDOZ_WEB_SOUND_JS})
  get_target_property(_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT _dir)
    set(_dir ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(_libs ${_dir}/sound-libs.js)
  if(NOT TARGET dedoz_sound_libs_${target})
    set(_parts ${DEDOZ_WEB_SOUND_ROOT}/web/sound-libs-head.js ${_sound_modules}/fft.js/lib/fft.js
        ${DEDOZ_WEB_SOUND_ROOT}/web/sound-libs-middle.js
        ${_sound_modules}/mpg123-decoder/dist/mpg123-decoder.min.js)
    add_custom_command(OUTPUT ${_libs}
      COMMAND ${CMAKE_COMMAND} -E cat ${_parts} > ${_libs}
      DEPENDS ${_parts} ${DEDOZ_WEB_SOUND_ROOT}/package-lock.json
      COMMENT "Bundling the page's sound packages into ${_libs}")
    add_custom_target(dedoz_sound_libs_${target} DEPENDS ${_libs})
    add_dependencies(${target} dedoz_sound_libs_${target})
  endif()
endfunction()
