# tinyxml2 with the element nesting limit of 500 (release 10 or later), minizip and zlib.

find_package(tinyxml2 10 CONFIG QUIET)
if(NOT tinyxml2_FOUND)
  # The system's release is too old: build the source package that scripts/tinyxml2.sh
  # fetched, as a static library of this build.
  set(TINYXML2_FUENTE ${PROJECT_SOURCE_DIR}/third_party/tinyxml2)
  if(NOT EXISTS ${TINYXML2_FUENTE}/tinyxml2.cpp)
    message(FATAL_ERROR "tinyxml2 10 or later is missing: run scripts/tinyxml2.sh first")
  endif()
  set(BUILD_SHARED_LIBS OFF)
  set(tinyxml2_BUILD_TESTING OFF)
  set(tinyxml2_INSTALL_PKGCONFIG OFF)
  add_subdirectory(${TINYXML2_FUENTE} ${CMAKE_BINARY_DIR}/tinyxml2 EXCLUDE_FROM_ALL SYSTEM)
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
find_package(ZLIB REQUIRED)
