#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_data_files.sh DATA_DIR: the desktop entry, the AppStream metadata and
# the manual pages as the build made them in DATA_DIR pass the desktop's own
# validators, and the pages render without a warning.
set -euo pipefail
data=$1
status=0

desktop-file-validate "$data/voxmere.desktop" || status=1
appstreamcli validate --no-net "$data/voxmere.metainfo.xml" || status=1

for page in "$data"/man/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null) || {
    echo "$page: man failed" >&2
    status=1
  }
  if [ -n "$warnings" ]; then
    printf '%s:\n%s\n' "$page" "$warnings" >&2
    status=1
  fi
done
exit "$status"
