# Release builds (presets release and windows-release): the same commit gives the same
# bytes in any folder. No path of the source or build folder is embedded (__FILE__ and
# the like), no symbols, and on Windows no link time in the PE header.
option(COMPROBADOR_PUBLICACION "Reproducible, stripped release build" OFF)
if(COMPROBADOR_PUBLICACION AND NOT MSVC)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
  add_link_options(-s)
  if(WIN32)
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()

# What scripts/dist.sh puts into a release, read from the build folder: the programs this
# build has (revisa only where the tree holds it) and the guides.
set(PUBLICACION_PROGRAMAS comprobador revisa)
set(contenido "")
foreach(programa IN LISTS PUBLICACION_PROGRAMAS)
  string(APPEND contenido "$<$<TARGET_EXISTS:${programa}>:$<TARGET_FILE:${programa}>\n>")
endforeach()
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/publicacion.txt CONTENT "${contenido}")
