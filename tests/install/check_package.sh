#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_package.sh OUT_DIR COMMON_SH: lintian finds no error in the package in
# OUT_DIR (its warnings are printed), and everything the project's scripts
# install for the program to run (VOXMERE_RUNTIME_PACKAGES in COMMON_SH) is
# among the package's dependencies, so that installing the package alone is
# enough.
set -euo pipefail
out=$1
source "$2"
deb=$(ls "$out"/voxmere_*.deb)
status=0

lintian --fail-on error --no-tag-display-limit "$deb" || status=1

# One package name a line, without version constraints or alternatives' bars.
wanted=$(dpkg-deb -f "$deb" Depends Recommends | sed 's/^[A-Za-z-]*://' | tr ',|' '\n\n' |
  sed 's/(.*)//; s/[[:space:]]//g' | sort -u)
for package in "${VOXMERE_RUNTIME_PACKAGES[@]}"; do
  if ! grep -qx -- "$package" <<<"$wanted"; then
    echo "$deb: $package is neither a dependency nor a recommendation" >&2
    status=1
  fi
done
exit "$status"
