# Media libraries. id3lib reads MP3 tags on both builds: natively Debian's
# libid3-3.8.3-dev, for Windows a static build of Debian's source package
# (cmake/id3lib.cmake). GDI+ reads and writes pictures on Windows; natively
# there is no picture library. Consumers link the interface target
# quorv::id3lib.
set(QUORV_DEPS_DIR "${CMAKE_BINARY_DIR}/deps" CACHE PATH
    "Third-party sources fetched by cmake/fetch-deps.sh")

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/id3lib.cmake)
  add_library(quorv::id3lib ALIAS quorv_id3lib)
else()
  find_path(QUORV_ID3LIB_INCLUDE_DIR id3/tag.h)
  find_library(QUORV_ID3LIB_LIBRARY NAMES id3 id3-3.8)
  find_package(ZLIB REQUIRED)
  if(NOT QUORV_ID3LIB_INCLUDE_DIR OR NOT QUORV_ID3LIB_LIBRARY)
    message(FATAL_ERROR "id3lib not found: install libid3-3.8.3-dev")
  endif()
  add_library(quorv::id3lib INTERFACE IMPORTED)
  set_target_properties(quorv::id3lib PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${QUORV_ID3LIB_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${QUORV_ID3LIB_LIBRARY};ZLIB::ZLIB")
endif()
set(QUORV_HAVE_ID3LIB ON)
