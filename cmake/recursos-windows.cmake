# Windows resources of a program: version information from the project's one version
# number, a description, and the manifest (UTF-8 as the active code page, no elevation,
# per-monitor DPI awareness, Windows 10 and 11, Common Controls 6.0).
#   recursos_windows(OBJETIVO "Descripción")
function(recursos_windows objetivo descripcion)
  if(NOT WIN32)
    return()
  endif()
  set(NOMBRE ${objetivo})
  set(DESCRIPCION ${descripcion})
  string(SUBSTRING ${objetivo} 0 1 inicial)
  string(SUBSTRING ${objetivo} 1 -1 resto)
  string(TOUPPER ${inicial} inicial)
  set(NOMBRE_ENSAMBLADO ${inicial}${resto})
  set(VERSION_WINDOWS ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
  set(VERSION_COMAS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0)
  set(directorio ${CMAKE_CURRENT_BINARY_DIR}/${objetivo}-recursos)
  set(manifiesto ${directorio}/${objetivo}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/programa.manifest.in ${manifiesto} @ONLY)
  if(MINGW)
    # windres embeds the manifest as resource 1 of type RT_MANIFEST.
    set(LINEA_MANIFIESTO "1 24 \"${manifiesto}\"")
  else()
    # MSVC's linker embeds the manifest itself.
    set(LINEA_MANIFIESTO "")
    target_sources(${objetivo} PRIVATE ${manifiesto})
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/programa.rc.in ${directorio}/${objetivo}.rc @ONLY)
  target_sources(${objetivo} PRIVATE ${directorio}/${objetivo}.rc)
  # The resource compiler reads the manifest, but no dependency scan sees it.
  set_source_files_properties(${directorio}/${objetivo}.rc PROPERTIES OBJECT_DEPENDS ${manifiesto})
endfunction()

# What every program handed out shares: on Windows its resources; elsewhere one static file
# that runs on any Linux (the sanitizers need the shared runtime); in the build folder's root.
#   programa_publicado(OBJETIVO "Descripción")
function(programa_publicado objetivo descripcion)
  if(WIN32)
    recursos_windows(${objetivo} "${descripcion}")
  elseif(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    target_link_options(${objetivo} PRIVATE -static)
  endif()
  set_target_properties(${objetivo} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
