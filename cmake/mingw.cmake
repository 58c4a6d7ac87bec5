# MinGW-w64 from Linux for one Windows architecture: included by
# mingw-x86.cmake and mingw-x64.cmake after they name it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TIDYMOTH_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TIDYMOTH_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TIDYMOTH_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TIDYMOTH_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every test program runs through the project's Wine environment for it.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh;--arch;${TIDYMOTH_WINE_ARCH}")
