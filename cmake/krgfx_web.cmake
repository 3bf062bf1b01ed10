# The browser build (Emscripten): main runs in a worker (PROXY_TO_PTHREAD)
# so its blocking loop, its sleeps, the presenter thread and the screen lock
# stay as on the desktop; the browser's own thread only shows the canvas and
# queues the page's events. The pool holds a worker for main and one for the
# presenter: a thread started at run time would need the browser thread,
# which main may be waiting for.
target_compile_options(krgfx PUBLIC -pthread)
# Every object linked into a threaded program needs the atomics: GoogleTest's
# too, built from its sources by the tests below this folder.
add_compile_options(-pthread)
target_link_options(krgfx INTERFACE -pthread -sPROXY_TO_PTHREAD -sPTHREAD_POOL_SIZE=2
                    -sINITIAL_MEMORY=256MB -sEXIT_RUNTIME=1 -sOFFSCREEN_FRAMEBUFFER=0
                    -sEXPORTED_RUNTIME_METHODS=ccall)

# The display's POSIX parts (the desktop's window system choice, its key
# translation, its event wait, the presenter thread's name and priority) and
# the code page 437 conversion are the web folders'; the other POSIX services
# come from Emscripten's C library.
# Vector Blitters: the x86 forms beyond SSE2 have no WebAssembly mapping
# (gfx/web/avx2_forms_absent.cpp stands in). SSE2 maps onto SIMD128 when
# KRGFX_WEB_SIMD is on; otherwise the plain forms run.
option(KRGFX_WEB_SIMD "Build the SSE2 forms for WebAssembly SIMD128" OFF)
get_target_property(krgfxWebSources krgfx SOURCES)
set(krgfxWideSources ${krgfxWebSources})
list(FILTER krgfxWideSources INCLUDE REGEX "_avx(2|512)\\.cpp$")
set(krgfxDesktopDisplaySources ${krgfxWebSources})
list(FILTER krgfxDesktopDisplaySources INCLUDE REGEX "/gfx/display/posix/")
set(krgfxDroppedSources ${krgfxWideSources} ${krgfxDesktopDisplaySources}
    ${PROJECT_SOURCE_DIR}/input/posix/cp437_codec.cpp)
if(KRGFX_WEB_SIMD)
  target_compile_options(krgfx PRIVATE -msimd128 -msse2)
  list(APPEND krgfxDroppedSources ${PROJECT_SOURCE_DIR}/gfx/web/sse2_forms_absent.cpp)
else()
  set(krgfxSse2Sources ${krgfxWebSources})
  list(FILTER krgfxSse2Sources INCLUDE REGEX "_sse2\\.cpp$")
  list(APPEND krgfxDroppedSources ${krgfxSse2Sources})
endif()
set_source_files_properties(${krgfxDroppedSources} PROPERTIES HEADER_FILE_ONLY ON)

# A program as a web page: name.html beside name.js, name.wasm and, with
# files to preload, name.data, which puts them in the program's folder of
# the virtual file system (the page's "current directory") so that the file
# services open them by their plain names. The page (krgfx_shell.html) is
# the canvas and an output box; its script (krgfx_page.js) tells the page
# (and a test that drives it) when the program has ended.
function(krgfx_web_page target)
  set_target_properties(${target} PROPERTIES SUFFIX ".html")
  # Debian's emscripten lacks the HTML minifier: the page stays as written.
  target_link_options(${target} PRIVATE -sMINIFY_HTML=0)
  target_link_options(${target} PRIVATE
    "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/gfx/display/web/krgfx_page.js"
    "SHELL:--shell-file ${PROJECT_SOURCE_DIR}/gfx/display/web/krgfx_shell.html")
  foreach(folder ${ARGN})
    target_link_options(${target} PRIVATE "SHELL:--preload-file ${folder}@/")
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
               ${PROJECT_SOURCE_DIR}/gfx/display/web/krgfx_page.js
               ${PROJECT_SOURCE_DIR}/gfx/display/web/krgfx_shell.html ${ARGN})
endfunction()
