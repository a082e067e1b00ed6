#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when the built program or the sources carry an address the project
# does not own, or a text that names Windows where Linux is meant.
# Usage: no_foreign_texts.sh PROGRAM SOURCE_FOLDER...
set -u
program=$1
shift
# Spelled in pieces so that this file does not find itself.
pattern="voxmere[.]org|Windows start""up|Windows appli""cation"
status=0
# Qt keeps its string literals in UTF-16: both encodings are searched.
if { strings -a "$program"; strings -a -e l "$program"; } | grep -i -E "$pattern"; then
  echo "FAIL: $program carries the texts above" >&2
  status=1
fi
if grep -r -I -n -i -E "$pattern" "$@"; then
  echo "FAIL: the sources above carry them" >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "no foreign addresses or platform words in $program and $*"
exit "$status"
