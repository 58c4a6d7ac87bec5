# The 64-bit Windows program (x86_64); tests run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TIDYMOTH_MINGW x86_64-w64-mingw32)
set(TIDYMOTH_WINE_ARCH x64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
