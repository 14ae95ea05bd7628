# tinyxml2 with the element nesting limit of 500 (release 10 or later), minizip and zlib,
# each reached through the same target names on every platform.

find_package(tinyxml2 10 CONFIG QUIET)
if(NOT tinyxml2_FOUND)
  # The system's release is too old: build the source package that scripts/prepara.sh
  # fetched, as a static library of this build.
  set(TINYXML2_FUENTE ${PROJECT_SOURCE_DIR}/third_party/tinyxml2)
  if(NOT EXISTS ${TINYXML2_FUENTE}/tinyxml2.cpp)
    message(FATAL_ERROR "tinyxml2 10 or later is missing: run scripts/prepara.sh first")
  endif()
  set(BUILD_SHARED_LIBS OFF)
  set(tinyxml2_BUILD_TESTING OFF)
  set(tinyxml2_INSTALL_PKGCONFIG OFF)
  add_subdirectory(${TINYXML2_FUENTE} ${CMAKE_BINARY_DIR}/tinyxml2 EXCLUDE_FROM_ALL SYSTEM)
endif()

if(NOT WIN32)
  # The archives, not the shared libraries: the Linux program is one static binary, which
  # keeps its resident memory at half of what the shared libraries take.
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

if(MINGW)
  # No minizip package for MinGW: its writer and reader from zlib's source package, as C.
  set(MINIZIP_FUENTE ${PROJECT_SOURCE_DIR}/third_party/zlib/contrib/minizip)
  if(NOT EXISTS ${MINIZIP_FUENTE}/zip.c)
    message(FATAL_ERROR "minizip's source is missing: run scripts/prepara-windows.sh first")
  endif()
  add_library(minizip STATIC ${MINIZIP_FUENTE}/zip.c ${MINIZIP_FUENTE}/unzip.c
                             ${MINIZIP_FUENTE}/ioapi.c)
  target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_FUENTE})
  target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
  add_library(minizip::minizip ALIAS minizip)
elseif(MSVC)
  find_package(unofficial-minizip CONFIG REQUIRED)
  add_library(minizip::minizip ALIAS unofficial::minizip::minizip)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MINIZIP REQUIRED minizip)
  find_library(MINIZIP_ARCHIVO NAMES libminizip.a HINTS ${MINIZIP_LIBRARY_DIRS} REQUIRED)
  add_library(minizip::minizip STATIC IMPORTED GLOBAL)
  set_target_properties(minizip::minizip PROPERTIES IMPORTED_LOCATION ${MINIZIP_ARCHIVO}
    INTERFACE_INCLUDE_DIRECTORIES "${MINIZIP_INCLUDE_DIRS}" INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
endif()
