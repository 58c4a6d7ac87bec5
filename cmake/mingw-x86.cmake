# The 32-bit Windows program (i686), the reference target; tests run under Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TIDYMOTH_MINGW i686-w64-mingw32)
set(TIDYMOTH_WINE_ARCH x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
