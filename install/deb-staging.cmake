# Run by CPack on the staged files, before the Debian package is made of them:
# the few places where a Debian package differs from a plain installation.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

# Debian keeps the commands of games in /usr/games. The launcher's path to the
# game's folder (../lib/marsh-keeper) is the same from there.
set(dir_modes OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(MAKE_DIRECTORY "${root}/games")
file(CHMOD "${root}/games" PERMISSIONS ${dir_modes})
file(RENAME "${root}/bin/marsh-keeper" "${root}/games/marsh-keeper")
file(GLOB left "${root}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${root}/bin")
endif()

# Stripped as Debian's own tools strip: no compiler notes left in the program.
execute_process(
  COMMAND "${CPACK_MK_STRIP}" --remove-section=.comment --remove-section=.note --strip-unneeded
          "${root}/lib/marsh-keeper/marsh-keeper"
  COMMAND_ERROR_IS_FATAL ANY)

# Why lintian's remarks on a few files do not apply, in lintian's own place.
# (file(INSTALL) would prefix DESTDIR, which CPack still has set.)
file(MAKE_DIRECTORY "${root}/share/lintian/overrides")
file(CHMOD "${root}/share/lintian" "${root}/share/lintian/overrides" PERMISSIONS ${dir_modes})
file(COPY_FILE "${CPACK_MK_SOURCE_DIR}/lintian-overrides" "${root}/share/lintian/overrides/marsh-keeper")
file(CHMOD "${root}/share/lintian/overrides/marsh-keeper" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
