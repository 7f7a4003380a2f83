# The skin's icons, drawn at build time, and the helper that lets a target's
# resource script include skin/skin.rc:
#
#   quorv_skin_resources(<target> <rc file>)
#
# puts the generated icon folder (and the source root, for skin/skin_ids.h)
# on the resource compiler's include path of <target>, and makes <rc file>
# depend on the icons and on skin/skin.rc, so that they are drawn first and
# a change recompiles the resources.
set(QUORV_ICON_DIR ${CMAKE_BINARY_DIR}/skin/icons)
set(QUORV_ICON_IDS 128 131 133 214 216 136 137 139 140 153 155 157 146 147 169 171 180 183 184 185 186
    189 190 191 192 198 208 212 218 222 223 224)
set(QUORV_ICON_FILES)
foreach(id IN LISTS QUORV_ICON_IDS)
  list(APPEND QUORV_ICON_FILES ${QUORV_ICON_DIR}/icon_${id}.ico)
endforeach()

if(WIN32)
  add_custom_command(
    OUTPUT ${QUORV_ICON_FILES}
    COMMAND sh ${CMAKE_SOURCE_DIR}/skin/icons/make-icons.sh ${QUORV_ICON_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/skin/icons/make-icons.sh
    COMMENT "Drawing the program's icons"
    VERBATIM)
  add_custom_target(quorv_skin_icons DEPENDS ${QUORV_ICON_FILES})
endif()

function(quorv_skin_resources target rc)
  get_filename_component(rc_path ${rc} ABSOLUTE)
  # windres finds the files that ICON lines name on its include path.
  set_property(SOURCE ${rc_path} APPEND PROPERTY COMPILE_OPTIONS
               "-I${QUORV_ICON_DIR}" "-I${CMAKE_SOURCE_DIR}")
  set_property(SOURCE ${rc_path} APPEND PROPERTY OBJECT_DEPENDS
               ${QUORV_ICON_FILES} ${CMAKE_SOURCE_DIR}/skin/skin.rc ${CMAKE_SOURCE_DIR}/skin/skin_ids.h)
  add_dependencies(${target} quorv_skin_icons)
endfunction()
