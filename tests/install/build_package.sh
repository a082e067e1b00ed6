#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# build_package.sh BUILD_DIR OUT_DIR: makes the Debian package from what the
# build in BUILD_DIR has built, in OUT_DIR (emptied first).
set -euo pipefail
build=$1 out=$2
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  exit 1
}
ls "$out"/voxmere_*.deb
