# id3lib for the Windows build: a static library compiled from Debian's
# source package (cmake/fetch-deps.sh unpacks and patches it under
# QUORV_DEPS_DIR/id3lib). Nothing of id3lib lives in this repository.
set(QUORV_ID3LIB_DIR "${QUORV_DEPS_DIR}/id3lib")
if(NOT EXISTS "${QUORV_ID3LIB_DIR}/src/tag.cpp" OR NOT EXISTS "${QUORV_ID3LIB_DIR}/config.h.win32")
  message(FATAL_ERROR
    "id3lib sources not found in ${QUORV_ID3LIB_DIR}.\n"
    "Run: cmake/fetch-deps.sh ${QUORV_DEPS_DIR}  (build.sh does this for you)")
endif()

# zlib, statically, from libz-mingw-w64-dev (else the program needs zlib1.dll).
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# config.h from the shipped Windows template, without the line that turns
# every `for` into `if (1) for` (written for compilers long gone, and it
# breaks modern code).
set(_id3_cfg_dir "${CMAKE_BINARY_DIR}/id3lib-config")
file(READ "${QUORV_ID3LIB_DIR}/config.h.win32" _id3_cfg)
string(REGEX REPLACE "#define CXX_HAS_BUGGY_FOR_LOOPS[^\n]*\n" "" _id3_cfg "${_id3_cfg}")
if(_id3_cfg MATCHES "CXX_HAS_BUGGY_FOR_LOOPS 1")
  message(FATAL_ERROR "could not take CXX_HAS_BUGGY_FOR_LOOPS out of id3lib's config.h.win32")
endif()
file(MAKE_DIRECTORY "${_id3_cfg_dir}")
# Written only when it changes, so a fresh configure does not rebuild id3lib.
file(CONFIGURE OUTPUT "${_id3_cfg_dir}/config.h" CONTENT "${_id3_cfg}" @ONLY)

set(_id3_sources
  c_wrapper field field_binary field_integer field_string_ascii field_string_unicode
  frame frame_impl frame_parse frame_render globals header header_frame header_tag
  helpers io io_decorators io_helpers misc_support mp3_parse readers spec
  tag tag_file tag_find tag_impl tag_parse tag_parse_lyrics3 tag_parse_musicmatch
  tag_parse_v1 tag_render utils writers)
list(TRANSFORM _id3_sources PREPEND "${QUORV_ID3LIB_DIR}/src/")
list(TRANSFORM _id3_sources APPEND ".cpp")

add_library(quorv_id3lib STATIC ${_id3_sources})
target_include_directories(quorv_id3lib PRIVATE "${_id3_cfg_dir}" "${QUORV_ID3LIB_DIR}/src"
  "${QUORV_ID3LIB_DIR}/include/id3")
target_include_directories(quorv_id3lib SYSTEM PUBLIC "${QUORV_ID3LIB_DIR}/include")
target_compile_definitions(quorv_id3lib PRIVATE HAVE_CONFIG_H WIN32 PUBLIC ID3LIB_LINKOPTION=1)
# Third-party code: keep its warnings out of our build output.
target_compile_options(quorv_id3lib PRIVATE -w)
set_target_properties(quorv_id3lib PROPERTIES CXX_EXTENSIONS OFF)
target_link_libraries(quorv_id3lib PUBLIC ZLIB::ZLIB)
