#!/bin/sh
# The manual pages made from the programs' --help, read as man shows them:
# groff has nothing to warn about; every command kaveldef's help lists has a
# subsection, holding each option and argument of that command's help as an
# entry of its own; the editor's page holds its options and arguments; the
# exit status is told once, in a section of its own.
#   man_pages_test.sh KAVELDEF EDITOR MAN_DIR
set -eu
kaveldef=$1
editor=$2
pages=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# NAME.1 as plain text into $work/NAME.txt, after groff's warnings; the
# compressed copy that is installed must hold the same page.
show() {
    warnings=$(groff -man -Tascii -ww -z "$pages/$1.1" 2>&1)
    [ -z "$warnings" ] || fail "$1.1: $warnings"
    groff -man -Tascii -P -cbou "$pages/$1.1" >"$work/$1.txt"
    gzip -dc "$pages/$1.1.gz" | cmp -s - "$pages/$1.1" || fail "$1.1.gz is not $1.1"
}

# The first column of the option and argument lines of a help text.
entries() {
    awk '/^(Options|Arguments):$/ { listed = 1; next }
         /^$/ { listed = 0 }
         listed && /^  [^ ]/ { sub(/^  /, ""); sub(/  .*/, ""); print }'
}

# has_entries PAGE_TEXT HELP WHAT: each entry of HELP begins a line of the page.
has_entries() {
    printf '%s\n' "$2" | entries >"$work/entries"
    [ -s "$work/entries" ] || fail "$3: the help lists no options"
    while IFS= read -r entry; do
        awk -v tag="       $entry" '
            index($0, tag) == 1 && (length($0) == length(tag) ||
                                    substr($0, length(tag) + 1, 1) == " ") { found = 1 }
            END { exit !found }' "$1" || fail "$3: no entry '$entry' in the page"
    done <"$work/entries"
}

# kaveldef: one subsection per command, each with its own options.
show kaveldef
main_help=$("$kaveldef" --help)
commands=$(printf '%s\n' "$main_help" | awk '/^Commands:$/ { on = 1; next } on && /^$/ { exit }
                                            on { print $1 }')
[ -n "$commands" ] || fail "kaveldef --help lists no commands"
for command in $commands; do
    awk -v title="   kaveldef $command " '
        index($0, title) == 1 { on = 1; print; next }
        /^   [^ ]/ || /^[^ ]/ { on = 0 }
        on' "$work/kaveldef.txt" >"$work/section"
    [ -s "$work/section" ] || fail "kaveldef.1 has no subsection for $command"
    has_entries "$work/section" "$("$kaveldef" "$command" --help)" "kaveldef.1, $command"
done
has_entries "$work/kaveldef.txt" "$main_help" "kaveldef.1"
grep -qx 'EXIT STATUS' "$work/kaveldef.txt" || fail "kaveldef.1 has no EXIT STATUS"
told=$(grep -c 'check found something' "$work/kaveldef.txt" || true)
[ "$told" = 1 ] || fail "kaveldef.1 tells the exit status $told times"

# The editor.
show kavel-editor
has_entries "$work/kavel-editor.txt" "$("$editor" --help)" "kavel-editor.1"
grep -qx 'EXIT STATUS' "$work/kavel-editor.txt" || fail "kavel-editor.1 has no EXIT STATUS"
echo "manual pages: ok"
