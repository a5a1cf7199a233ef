#!/usr/bin/env bash
# kaveldef's bash completion, driven as bash-completion drives it: the words of
# a command line in COMP_WORDS, the completion function called, its answers
# read from COMPREPLY. Files are offered by what the help says an argument or
# a value is; commands and options come from the program's help.
#   completion_test.sh KAVELDEF SOURCE_DIR
set -u
kaveldef=$(readlink -f "$1")
source_dir=$(readlink -f "$2")
export LC_ALL=C
# shellcheck source=/dev/null
. /usr/share/bash-completion/bash_completion || exit 1
# shellcheck source=/dev/null
. "$source_dir/packaging/bash-completion/kaveldef" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch menu.def TEXTDB.DEF dump.csv dump.json shot.png skin.txt other.bin
mkdir folder
failures=0

# The answers to PROGRAM WORD... <Tab>, the last word being the one completed,
# sorted on one line.
answers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _kaveldef "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

# answers_are PROGRAM 'EXPECTED ANSWERS' WORD...: PROGRAM WORD... <Tab> offers
# exactly those.
answers_are() {
    local program=$1 expected=$2 got
    shift 2
    got=$(answers "$program" "$@")
    [[ $got == "$expected" ]] && return
    echo "FAIL: $(basename "$program") $* <Tab> offered '$got', not '$expected'" >&2
    failures=$((failures + 1))
}
completes() { answers_are "$kaveldef" "$@"; }

# offers 'ANSWER...' WORD...: kaveldef WORD... <Tab> offers at least those.
offers() {
    local wanted=$1 got answer
    shift
    got=" $(answers "$kaveldef" "$@") "
    for answer in $wanted; do
        [[ $got == *" $answer "* ]] && continue
        echo "FAIL: kaveldef $* <Tab> did not offer $answer (offered:$got)" >&2
        failures=$((failures + 1))
    done
}

# Commands and the program's own options.
completes 'build check dump render texts' ''
completes 'dump' 'd'
completes '--help --version -h -v' '-'
completes '' frob ''

# Each command's options, and their values by what the help names them.
offers '--textdb --format --output -o --help' dump -
offers '--record --size --skin --output -o' render -
completes '--format' dump --f
completes 'csv json' dump --format ''
completes 'json' dump --format=j
completes 'TEXTDB.DEF folder menu.def' dump menu.def --textdb ''
completes 'dump.csv dump.json folder' dump menu.def -o ''
completes 'folder shot.png' render menu.def menu.def --output ''
completes 'folder skin.txt' render --skin ''
completes '' render --record ''
completes 'TEXTDB.DEF folder menu.def' build dump.csv -o ''

# Arguments in their order, an option's value not counted among them.
completes 'TEXTDB.DEF folder menu.def' dump ''
completes 'dump.csv dump.json folder' build ''
completes 'TEXTDB.DEF folder menu.def' render --record 3 menu.def ''
completes '' render menu.def menu.def ''
completes 'TEXTDB.DEF folder menu.def' check menu.def ''
completes 'TEXTDB.DEF folder menu.def' check menu.def menu.def ''
completes 'build dump' texts ''
completes 'TEXTDB.DEF folder menu.def' texts dump ''
completes 'dump.csv dump.json folder' texts build ''

# A command whose help lists commands of its own is walked the same way.
cat >"$work/nested" <<'PROGRAM'
#!/bin/sh
case "$*" in
--help) printf 'Usage: nested COMMAND\n\nCommands:\n  texts  Work on string databases.\n\nOptions:\n  -h, --help  Show this help.\n' ;;
"texts --help") printf 'Usage: nested texts COMMAND\n\nCommands:\n  dump   Dump one.\n  build  Build one.\n' ;;
"texts dump --help") printf 'Usage: nested texts dump [options] DB\n\nOptions:\n  -o, --output <DUMP>  Where.\n' ;;
*) exit 2 ;;
esac
PROGRAM
chmod +x "$work/nested"
nested() { answers_are "$work/nested" "$@"; }
nested 'build dump' texts ''
nested 'TEXTDB.DEF folder menu.def' texts dump ''
nested 'dump.csv dump.json folder' texts dump menu.def --output ''

((failures == 0)) || exit 1
echo "kaveldef completion: ok"
