#!/bin/sh
# Writes the manual page of a program from its own --help with help2man, and
# its copy compressed as Debian ships manual pages.
#
#   [HELP2MAN=...] make_man_page.sh PROGRAM SUMMARY INCLUDE_FILE PAGE
#
# PAGE (e.g. man/kaveldef.1) and PAGE.gz are written. help_for_man.sh lays out
# the help; two touches follow help2man: a subsection's title loses the colon
# that marked it in the help, and the paragraph that opens a subsection is a
# plain one rather than an indented one.
set -eu
here=$(dirname "$0")
program=$1
summary=$2
include=$3
page=$4

"${HELP2MAN:-help2man}" --no-info --section=1 --name="$summary" --include="$include" \
    --output="$page.raw" "sh $here/help_for_man.sh $program"
sed -e 's/^\(\.SS ".*\):"$/\1"/' -e '/^\.SS /{n;s/^\.IP$/.PP/;}' "$page.raw" >"$page"
rm -f "$page.raw"
gzip -9n --force --keep "$page"
