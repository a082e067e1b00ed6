# SPDX-License-Identifier: GPL-3.0-or-later
# Where `cmake --install` puts the programs. The layout under the prefix is
# fixed rather than taken from GNUInstallDirs: the program finds its help file
# and help window module relative to its own folder, in ../share/voxmere and
# ../lib/voxmere (see src/platform/help/help_file_locator.h), so bin/, share/
# and lib/ must stay siblings. The rest (desktop entry, icons, metadata,
# manual pages, documents) is installed by data/.

# Folders made by the install get the usual permissions whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS voxmere voxmere-say RUNTIME DESTINATION bin)
# A module loaded by the program alone: private to it, so not in a library
# folder the dynamic linker searches.
install(TARGETS voxmere_help_window LIBRARY DESTINATION lib/voxmere)
install(FILES ${VOXMERE_HELP_FILE} DESTINATION share/voxmere)

add_subdirectory(data)
