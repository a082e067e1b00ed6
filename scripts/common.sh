# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by ./scripts/run, ./scripts/test and ./scripts/bench. Sourced, not run.
set -euo pipefail

VOXMERE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VOXMERE_JOBS=${VOXMERE_JOBS:-$(nproc)}

# Debian packages the build and every test suite need; the icons are rendered
# with rsvg-convert, and the Debian package made by CPack needs
# dpkg-shlibdeps (dpkg-dev) and file.
VOXMERE_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-tools-dev qt6-documentation-tools
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  libespeak-ng-dev libspeechd-dev libpulse-dev
  libxcb1-dev libxcb-keysyms1-dev libxcb-xfixes0-dev libx11-dev libx11-xcb-dev libxtst-dev libsm-dev libice-dev
  libxkbcommon-dev libcanberra-dev libwayland-dev
  librsvg2-bin dpkg-dev file
)

# What the program needs at run time beside its libraries: the Qt platform
# plugins, the speech-dispatcher daemon with its espeak-ng module (only a
# Recommends of the daemon, so named here), fonts with Arial's widths for
# the About page, Qt Help with the SQLite driver it reads the help file
# through (a plugin, so no library dependency pulls it in), and the warning
# sound: the freedesktop sound theme played through libcanberra's PulseAudio
# driver (a package of its own; PipeWire serves it too). The Wayland client
# library reads the selection in Wayland sessions.
VOXMERE_RUNTIME_PACKAGES=(
  qt6-qpa-plugins speech-dispatcher speech-dispatcher-espeak-ng espeak-ng-data fonts-liberation
  libqt6help6 libqt6sql6-sqlite libcanberra0 libcanberra-pulse sound-theme-freedesktop
  libwayland-client0
)

# The services and third-party programs the integration tests drive
# (xfce4-panel is the StatusNotifierItem host; it brings xfconf; copyq is a
# clipboard manager the load tests run beside the program; sway with
# XWayland is the Wayland session, wl-clipboard's wl-copy a Wayland
# application holding a selection, weston a compositor that lets no program
# read the selection, as GNOME's), and the
# checks of the installed program: the desktop entry's and the AppStream
# metadata's validators, the manual page reader, lintian for the package.
VOXMERE_TEST_PACKAGES=(
  pulseaudio pulseaudio-utils espeak-ng
  xvfb xauth x11-xkb-utils dbus-daemon dbus xdotool xclip trayer xterm l3afpad fonts-dejavu-core
  xfonts-base x11-utils imagemagick python3 at-spi2-core python3-pyatspi openbox xfce4-panel copyq
  desktop-file-utils appstream man-db groff-base lintian
  sway xwayland wl-clipboard weston
)

# What only ./scripts/bench needs: the do-it-yourself setup it measures the
# program against (xbindkeys running espeak-ng on xsel's output), a Qt
# editor as a further owner of the selection, and gdb to trim the heap of
# the program under measure.
VOXMERE_BENCH_PACKAGES=(xbindkeys xsel featherpad gdb)

# Installs the named packages that are missing (apt-get update only when needed).
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  # Through env: sudo resets the environment, and a debconf question asked on
  # the silenced output would hang the script.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# configure_and_build DIR [cmake options...] [-- targets...]
# Builds the named targets, or everything when none are named.
configure_and_build() {
  local dir=$1
  shift
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift
  targets=("$@")
  cmake -S "$VOXMERE_ROOT" -B "$dir" -G Ninja "${options[@]}" >/dev/null
  ninja -C "$dir" -j "$VOXMERE_JOBS" "${targets[@]}"
}
