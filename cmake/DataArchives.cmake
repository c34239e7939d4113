# The data archives and their compiled table (included by engine/).
#
# With DESKMATE_TOOLS_DIR (the host build's tools folder) the Windows build
# runs the host packer: it writes model/, animation/, sound/ and clipper/
# under DESKMATE_DATA_DIR and the archive table source, which is compiled
# into the engine. Without it (and on the host side, where tests build their
# own archives) the table has no entries.
#
# DESKMATE_ARCHIVE_MANIFESTS: further manifest files of content builders.
# The content built here (the room: model archive 0, texture archive 0) adds
# its own manifest; archives that no manifest fills get one placeholder
# entry (--placeholder).
set(DESKMATE_ARCHIVE_MANIFESTS "" CACHE STRING "Manifests of archive content, for deskmate_pack")
set(archive_table "${CMAKE_BINARY_DIR}/generated/engine/archive/ArchiveTable.generated.cpp")

if(DESKMATE_TARGET AND DESKMATE_TOOLS_DIR)
  set(packer "${DESKMATE_TOOLS_DIR}/packer/deskmate_pack")
  set(room_builder "${DESKMATE_TOOLS_DIR}/content/deskmate_room")
  set(room_folder "${CMAKE_BINARY_DIR}/generated/content/room")
  add_custom_command(
    OUTPUT "${room_folder}/room.manifest"
    COMMAND "${room_builder}" "${room_folder}"
    DEPENDS "${room_builder}"
    COMMENT "Building the room model and its textures"
    VERBATIM)
  # The engine's own pictures: white texture, console font, window masks.
  set(media_builder "${DESKMATE_TOOLS_DIR}/media/deskmate_media_content")
  set(media_folder "${CMAKE_BINARY_DIR}/generated/content/media")
  add_custom_command(
    OUTPUT "${media_folder}/media.manifest"
    COMMAND "${media_builder}" "${media_folder}"
    DEPENDS "${media_builder}"
    COMMENT "Painting the white texture, the console font and the window masks"
    VERBATIM)
  # The sound cues and the ending music (sound archives 0 and 1).
  set(sound_builder "${DESKMATE_TOOLS_DIR}/sound/deskmate_sound_content")
  set(sound_folder "${CMAKE_BINARY_DIR}/generated/content/sound")
  add_custom_command(
    OUTPUT "${sound_folder}/sound.manifest"
    COMMAND "${sound_builder}" "${sound_folder}"
    DEPENDS "${sound_builder}"
    COMMENT "Synthesising the sound cues and the ending music"
    VERBATIM)
  # Vesko's models and textures (model archive 4, texture archive 4).
  set(vesko_builder "${DESKMATE_TOOLS_DIR}/vesko/deskmate_vesko_content")
  set(vesko_folder "${CMAKE_BINARY_DIR}/generated/content/vesko")
  add_custom_command(
    OUTPUT "${vesko_folder}/vesko.manifest"
    COMMAND "${vesko_builder}" "${vesko_folder}"
    DEPENDS "${vesko_builder}"
    COMMENT "Building Vesko's models and textures"
    VERBATIM)
  # The goods and room props (model archive 0) and their pictures (texture archive 0).
  set(goods_builder "${DESKMATE_TOOLS_DIR}/goods/deskmate_goods_content")
  set(goods_folder "${CMAKE_BINARY_DIR}/generated/content/goods")
  add_custom_command(
    OUTPUT "${goods_folder}/goods.manifest"
    COMMAND "${goods_builder}" "${goods_folder}"
    DEPENDS "${goods_builder}"
    COMMENT "Building the goods and room-prop models and their textures"
    VERBATIM)
  # Vesko's animation sets (animation archive 0).
  set(motion_builder "${DESKMATE_TOOLS_DIR}/motion/deskmate_motion_content")
  set(motion_folder "${CMAKE_BINARY_DIR}/generated/content/motion")
  add_custom_command(
    OUTPUT "${motion_folder}/motion.manifest"
    COMMAND "${motion_builder}" "${motion_folder}"
    DEPENDS "${motion_builder}"
    COMMENT "Building Vesko's animation sets"
    VERBATIM)
  # The configuration menu's model and texture (model and texture archive 2).
  set(menu_builder "${DESKMATE_TOOLS_DIR}/menu/deskmate_menu_content")
  set(menu_folder "${CMAKE_BINARY_DIR}/generated/content/menu")
  add_custom_command(
    OUTPUT "${menu_folder}/menu.manifest"
    COMMAND "${menu_builder}" "${menu_folder}"
    DEPENDS "${menu_builder}"
    COMMENT "Building the configuration menu's model and texture"
    VERBATIM)
  # The screen-saver logo, the staff roll and the smoke (groups 2 and 3).
  set(ending_builder "${DESKMATE_TOOLS_DIR}/ending/deskmate_ending")
  set(ending_folder "${CMAKE_BINARY_DIR}/generated/content/ending")
  add_custom_command(
    OUTPUT "${ending_folder}/ending.manifest"
    COMMAND "${ending_builder}" "${ending_folder}"
    DEPENDS "${ending_builder}"
    COMMENT "Building the screen-saver logo, the staff roll and the smoke"
    VERBATIM)
  # The TV-shopping show: models, motions and pictures (archives 1).
  set(show_builder "${DESKMATE_TOOLS_DIR}/show/deskmate_show_content")
  set(show_folder "${CMAKE_BINARY_DIR}/generated/content/show")
  add_custom_command(
    OUTPUT "${show_folder}/show.manifest"
    COMMAND "${show_builder}" "${show_folder}"
    DEPENDS "${show_builder}"
    COMMENT "Building the TV-shopping show's models, motions and pictures"
    VERBATIM)
  set(manifests "${room_folder}/room.manifest" "${media_folder}/media.manifest" "${sound_folder}/sound.manifest"
                "${goods_folder}/goods.manifest" "${motion_folder}/motion.manifest" "${vesko_folder}/vesko.manifest"
                "${menu_folder}/menu.manifest" "${show_folder}/show.manifest" "${ending_folder}/ending.manifest"
                ${DESKMATE_ARCHIVE_MANIFESTS})
  set(manifest_args)
  foreach(m IN LISTS manifests)
    list(APPEND manifest_args --manifest "${m}")
  endforeach()
  add_custom_command(
    OUTPUT "${archive_table}"
    COMMAND "${packer}" --data-dir "${DESKMATE_DATA_DIR}" --source "${archive_table}" ${manifest_args}
            --placeholder
    DEPENDS "${packer}" ${manifests}
    COMMENT "Packing the data archives into ${DESKMATE_DATA_DIR}"
    VERBATIM)
else()
  configure_file("${PROJECT_SOURCE_DIR}/engine/archive/EmptyArchiveTable.cpp.in" "${archive_table}" COPYONLY)
endif()
target_sources(engine PRIVATE "${archive_table}")
