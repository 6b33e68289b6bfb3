# The show as a web page, built by emscripten (`make web`, configured through
# emcmake): the subsystems compiled to WebAssembly over emscripten's SDL 1.2 and its
# OpenGL emulation on WebGL 1, the shaders and the settings preloaded into its
# in-memory file system, and the page of web/ beside them in DEDOZ_WEB_OUT.

# No debug information in what the browser downloads; assertions stay on.
set(CMAKE_CXX_FLAGS_RELEASE "-O2")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2")
set(DEDOZ_WEB_OUT "${CMAKE_BINARY_DIR}/page" CACHE PATH "Folder of the finished page")

# What every object and the link of the page share: C++ exceptions carry the
# failures as on the desktop (WebAssembly's own exception handling).
add_library(web_platform INTERFACE)
target_compile_options(web_platform INTERFACE -fwasm-exceptions)
target_link_options(web_platform INTERFACE -fwasm-exceptions)

# The browser's music: Music over Web Audio, with the desktop's spectrum (web/sound.cmake).
include(${CMAKE_SOURCE_DIR}/web/sound.cmake)
set(DEDOZ_WEB_MUSIC_SOURCES ${DEDOZ_WEB_SOUND_SOURCES})

# The browser sends no process signals and closes no window: the desktop's quit
# requests stay out (Demo/main.cpp adds none).
set(DEDOZ_PLATFORM_EXCLUDE "/Zembra/Controllers/Quit(Requests|Signals)\\.cpp$")
dedoz_library(zembra  Zembra  web_platform)
dedoz_library(render3d 3D     zembra)
add_library(music STATIC ${DEDOZ_WEB_MUSIC_SOURCES})
target_include_directories(music PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(music PUBLIC web_platform)
dedoz_library(effects Effects render3d)
dedoz_library(scenes  Scenes  effects music)
dedoz_library(demo    Demo    scenes music)

add_executable(dedoz Demo/main.cpp web/BrowserShow.cpp)
target_link_libraries(dedoz PRIVATE demo)
target_link_options(dedoz PRIVATE
  -sLEGACY_GL_EMULATION=1
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web
  # The page starts the program itself, after a gesture or at once (web/page.js).
  -sEXPORTED_RUNTIME_METHODS=callMain
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/data/shaders@/data/shaders"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/data/settings.ini@/data/settings.ini")
set_target_properties(dedoz PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DEDOZ_WEB_OUT} SUFFIX ".js")
dedoz_web_sound(dedoz MUSIC ${CMAKE_SOURCE_DIR}/data/music/tovane.mp3)
set_property(TARGET dedoz APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_SOURCE_DIR}/data/settings.ini ${CMAKE_SOURCE_DIR}/data/shaders/pulse.vs
  ${CMAKE_SOURCE_DIR}/data/shaders/pulse.ps ${CMAKE_SOURCE_DIR}/data/shaders/blur.vs
  ${CMAKE_SOURCE_DIR}/data/shaders/blur.ps)

# The page itself, copied beside the program.
file(GLOB DEDOZ_PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/*.html
     ${CMAKE_SOURCE_DIR}/web/*.css ${CMAKE_SOURCE_DIR}/web/*.js)
add_custom_target(web_page ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DEDOZ_WEB_OUT}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${DEDOZ_PAGE_FILES} ${DEDOZ_WEB_OUT}
  DEPENDS ${DEDOZ_PAGE_FILES}
  COMMENT "Copying the page")
