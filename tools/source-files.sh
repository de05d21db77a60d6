# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Which files are this project's own source, and how each one carries the licence line. Sourced by
# tools/add-spdx.sh and tools/check-format.sh so that the tool that adds the line and the check
# that asks for it can never disagree about a file. Call it from the repository root.

ZIRK_SPDX='SPDX-License-Identifier: GPL-3.0-or-later'

# Searched when there is no git checkout to ask (an unpacked source archive); list a new top folder here.
ZIRK_SOURCE_DIRS=(app bench frame fuzz game packaging tests tools)

# Prints the files of the tree, NUL-separated: git's tracked files, so that build folders and
# stray files never count; without a checkout of this very tree, every file of the source folders.
zirk_files() {
    local top
    if top=$(git rev-parse --show-toplevel 2>/dev/null) && [[ $top -ef . ]]; then
        git ls-files -z
    else
        local dirs=() d
        for d in "${ZIRK_SOURCE_DIRS[@]}"; do
            [[ -d $d ]] && dirs+=("$d")
        done
        find CMakeLists.txt Makefile "${dirs[@]}" -type f -print0 2>/dev/null
    fi
}

# Prints the comment marker the licence line takes in FILE; nothing for a file that takes none.
zirk_comment() {
    case ${1##*/} in
    *.cpp | *.h) echo '//' ;;
    *.sh | *.cmake | CMakeLists.txt | Makefile | *.mk) echo '#' ;;
    esac
}

# Whether FILE opens with the licence line: on line 1, or on line 2 under a "#!" line.
zirk_has_spdx() { # FILE COMMENT
    head -n 2 -- "$1" | grep -qxF -- "$2 $ZIRK_SPDX"
}
