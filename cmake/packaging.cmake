# The portable zip of one architecture: Tidymoth.exe, TidymothC.exe, the
# Japanese guide and the license, the texts in UTF-8 with a byte-order mark
# and CRLF line ends so that every Windows editor shows them right. `cpack` in the build tree writes
# Tidymoth-<version>-<x86|x64>.zip.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TIDYMOTH_ARCH x64)
else()
  set(TIDYMOTH_ARCH x86)
endif()

# A text file of the repository as Windows users expect it; lines starting
# with "![" (pictures of the Markdown page) are left out.
function(tidymoth_windows_text source target)
  file(READ "${source}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REGEX REPLACE "(^|\n)!\\[[^\n]*\n\n?" "\\1" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  string(ASCII 239 187 191 bom)
  file(WRITE "${target}" "${bom}${text}")
endfunction()

set(TIDYMOTH_TEXTS "${CMAKE_BINARY_DIR}/package-texts")
tidymoth_windows_text("${CMAKE_SOURCE_DIR}/README.ja.md" "${TIDYMOTH_TEXTS}/README.ja.txt")
tidymoth_windows_text("${CMAKE_SOURCE_DIR}/LICENSE" "${TIDYMOTH_TEXTS}/LICENSE.txt")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/README.ja.md" "${CMAKE_SOURCE_DIR}/LICENSE")

install(TARGETS Tidymoth TidymothC RUNTIME DESTINATION .)
install(FILES "${TIDYMOTH_TEXTS}/README.ja.txt" "${TIDYMOTH_TEXTS}/LICENSE.txt" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tidymoth)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "Tidymoth-${PROJECT_VERSION}-${TIDYMOTH_ARCH}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
include(CPack)
