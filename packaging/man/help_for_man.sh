#!/bin/sh
# Gives help2man a program's own help, laid out for a manual page, so that
# the page says exactly what --help says and cannot drift from it.
#
#   help_for_man.sh PROGRAM --help | --version
#
# --help: the program's help; when it lists commands (a "Commands:" block, as
# kaveldef's does), each command's own help follows under "*Commands*", one
# subsection each ("kaveldef dump [options] MENU_FILE:"), without the repeated
# exit status; a command whose help lists commands of its own is walked the
# same way. The "Exit status:" block becomes the page's last section.
# --version: "NAME VERSION", NAME being the program's file name, the form
# help2man reads (the editor's own says "Kavel.def Editor 1.00").
set -eu
program=$1
case ${2-} in
--version)
    version=$("$program" --version | head -n 1)
    echo "$(basename "$program") ${version##* }"
    exit 0
    ;;
--help) ;;
*)
    echo "usage: $0 PROGRAM --help|--version" >&2
    exit 2
    ;;
esac

# The names under "Commands:" in the help on the standard input.
commands_of() {
    awk '/^Commands:$/ { listed = 1; next }
         listed && /^  [^ ]/ { print $1; next }
         listed && /^$/ { exit }'
}

# The help of the command given as arguments, as one subsection: its usage
# line as the title, the rest indented below it. The headings "Options:" and
# "Arguments:" go (help2man would take the first for the page's own options);
# the lines under them are recognisable by their form. A subshell, so that
# the commands of a command, walked in turn, keep their own variables.
command_section() (
    help=$("$program" "$@" --help)
    printf '%s\n' "$help" | awk '
        /^Usage: / { sub(/^Usage: /, ""); print $0 ":"; next }
        /^Exit status:$/ { exit }
        /^(Options|Arguments|Commands):$/ { next }
        /^[^ ]/ { print "  " $0; next }
        { print }'
    for command in $(printf '%s\n' "$help" | commands_of); do
        command_section "$@" "$command"
    done
)

main_help=$("$program" --help)
printf '%s\n' "$main_help" | sed '/^Exit status:$/,$d'
commands=$(printf '%s\n' "$main_help" | commands_of)
if [ -n "$commands" ]; then
    echo "*Commands*"
    for command in $commands; do
        command_section "$command"
    done
fi
if printf '%s\n' "$main_help" | grep -qx 'Exit status:'; then
    echo "*Exit status*"
    printf '%s\n' "$main_help" | sed '1,/^Exit status:$/d'
fi
