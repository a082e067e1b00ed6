# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made by `cpack -G DEB` in a build folder from what
# `cmake --install` puts under /usr (see scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME voxmere)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "The Voxmere developers <developers@voxmere.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reads the selected text aloud on a hot key")
set(CPACK_PACKAGE_DESCRIPTION
    "Voxmere sits in the system tray and reads aloud the text selected in any
application when a system-wide hot key is pressed. It has a default voice
with its own speed, pitch and volume, voice slots with a hot key and a voice
each, a table of pronunciation corrections and a list of characters to skip.
It speaks through speech-dispatcher and espeak-ng, in X11 sessions and with
X11 applications under XWayland.

The command-line companion voxmere-say speaks, lists the voices and writes
WAV files with the same settings.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The libraries the programs link come from dpkg-shlibdeps; these are what
# they need beside them (scripts/common.sh lists the same as
# VOXMERE_RUNTIME_PACKAGES): Qt's platform plugins, the speech-dispatcher
# daemon with its espeak-ng module (only a Recommends of the daemon),
# espeak-ng's voices, Qt Help with the SQLite driver it reads the help file
# through (plugins and a module loaded at run time, so no scan finds them),
# and the warning sound played through libcanberra's PulseAudio driver.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, speech-dispatcher, speech-dispatcher-espeak-ng, espeak-ng-data, libqt6help6, libqt6sql6-sqlite, libcanberra0, libcanberra-pulse, sound-theme-freedesktop"
)
# Sound needs an audio server; the About page is laid out for Arial's widths.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
