#!/usr/bin/env bash
# Puts the licence's SPDX line at the top of every source that lacks it: C++ files under src,
# tests and bench get "// SPDX-License-Identifier: GPL-3.0-or-later", shell scripts and CMake
# files "# SPDX-License-Identifier: GPL-3.0-or-later" (in a script, below its "#!" line).
# Files that carry the line anywhere in their first lines are left as they are, so running it
# twice changes nothing. Usage: scripts/spdx.sh [--check]  (--check lists, changes nothing,
# and fails when a file lacks the line).
set -euo pipefail
cd "$(dirname "$0")/.."

tag="SPDX-License-Identifier: GPL-3.0-or-later"
check=0
[ "${1:-}" = "--check" ] && check=1
lacking=0

has_tag() { head -n 3 "$1" | grep -q "SPDX-License-Identifier:"; }

add() { # FILE COMMENT
    local file=$1 line="$2 $tag" tmp
    has_tag "$file" && return 0
    lacking=$((lacking + 1))
    if [ "$check" -eq 1 ]; then
        echo "$file"
        return 0
    fi
    tmp=$(mktemp "$file.XXXXXX")
    if [ "$(head -c 2 "$file")" = "#!" ]; then
        { head -n 1 "$file"; echo "$line"; tail -n +2 "$file"; } >"$tmp"
    else
        { echo "$line"; cat "$file"; } >"$tmp"
    fi
    chmod --reference="$file" "$tmp"
    mv "$tmp" "$file"
}

while IFS= read -r -d '' file; do
    add "$file" "//"
done < <(git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
    'packaging/*.cpp')

while IFS= read -r -d '' file; do
    add "$file" "#"
done < <(git ls-files -z -- 'scripts/*.sh' 'bench/*.sh' 'CMakeLists.txt' '*/CMakeLists.txt' \
    'cmake/*.cmake' 'packaging/*.cmake')

if [ "$check" -eq 1 ]; then
    [ "$lacking" -eq 0 ] || { echo "$lacking files lack the SPDX line" >&2; exit 1; }
else
    echo "SPDX line added to $lacking files"
fi
