# Include views: what keeps the lower layers (platform, patterns, engine) from
# including a header of a layer above them.
#
# Includes are root-relative ("engine/file_walk.h"), so a target that has the
# source root on its include path reaches every header. A lower layer's target
# gets instead a folder of the build tree, its view, holding for each header of
# its layer a forwarding header at the same relative path that includes the
# real file by its absolute path. The view is a PUBLIC include directory, so a
# target sees the views of its own layer and of the layers it links; an
# #include of ui/ or app/ from them finds no file. Plain files, no symbolic
# links: the same with g++, clang, MinGW-w64 and MSVC.
#
# tidymoth_layer_view(<target> <folder>): gives <target> the view of the
# headers under <folder>. The glob is checked at every build, so adding or
# removing a header regenerates the view.
function(tidymoth_layer_view target folder)
  set(view "${CMAKE_BINARY_DIR}/layer_views/${folder}")
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE "${CMAKE_SOURCE_DIR}"
    "${CMAKE_SOURCE_DIR}/${folder}/*.h")
  set(forwarders)
  foreach(header IN LISTS headers)
    # Written only when the text changes, so a new configure rebuilds nothing.
    file(CONFIGURE OUTPUT "${view}/${header}"
      CONTENT "#include \"${CMAKE_SOURCE_DIR}/${header}\"\n" @ONLY)
    list(APPEND forwarders "${view}/${header}")
  endforeach()
  # Forwarders left from headers since removed or renamed.
  file(GLOB_RECURSE present "${view}/*")
  foreach(file IN LISTS present)
    if(NOT file IN_LIST forwarders)
      file(REMOVE "${file}")
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC "${view}")
endfunction()
