#!/bin/sh
# Starts Kavel.def Editor in the user's own folder.
#
# The editor reads lang/, skin/ and readme_en.txt from its working folder and
# writes settings.txt there, so it runs in $XDG_DATA_HOME/kavel-editor
# (~/.local/share/kavel-editor by default). The folder is seeded from the
# shipped files: each one that is missing is copied, none is overwritten, and
# the user's settings.txt and skin/skin.txt are never touched (neither is
# shipped). File arguments given relative to the caller's folder are made
# absolute before the change of folder; every argument is passed on.
set -eu

self=$(readlink -f "$0")
prefix=$(dirname "$(dirname "$self")")
shipped="$prefix/share/kavel-editor"
program="$prefix/libexec/kavel-editor/kavel-editor"

data_home=${XDG_DATA_HOME:-}
case $data_home in
    /*) ;;
    *) data_home="$HOME/.local/share" ;;  # unset, empty or relative: the default
esac
folder="$data_home/kavel-editor"

mkdir -p "$folder"
if [ -d "$shipped" ]; then
    (cd "$shipped" && find lang skin samples readme_en.txt README.md -type f 2>/dev/null) |
        while IFS= read -r file; do
            if [ ! -e "$folder/$file" ]; then
                mkdir -p "$folder/$(dirname "$file")"
                cp -p "$shipped/$file" "$folder/$file"
            fi
        done
fi

# Qt's own options that take a value: that value is not a file of ours.
takes_value() {
    case $1 in
        -platform | -platformpluginpath | -platformtheme | -plugin | -style | -stylesheet | \
            -session | -display | -geometry | -qwindowgeometry | -qwindowicon | -qwindowtitle | \
            -title | -name | --platform | --style | --stylesheet | --display | --geometry)
            return 0 ;;
    esac
    return 1
}

count=$#
index=0
value_next=no
positional=no
while [ "$index" -lt "$count" ]; do
    argument=$1
    shift
    index=$((index + 1))
    if [ "$value_next" = yes ]; then
        value_next=no
    elif [ "$positional" = no ] && [ "$argument" = -- ]; then
        positional=yes
    elif [ "$positional" = no ] && [ "${argument#-}" != "$argument" ]; then
        takes_value "$argument" && value_next=yes
    else
        case $argument in
            /* | '') ;;
            *) argument="$PWD/$argument" ;;
        esac
    fi
    set -- "$@" "$argument"
done

cd "$folder"
exec "$program" "$@"
