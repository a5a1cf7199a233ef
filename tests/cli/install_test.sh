#!/bin/sh
# Installs the build into a scratch prefix, checks what went where, and runs
# the installed launcher with a stand-in for the editor that reports the
# folder it was started in and its arguments.
#   install_test.sh CMAKE BUILD_FOLDER
set -eu
cmake=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for file in bin/kaveldef bin/kavel-editor libexec/kavel-editor/kavel-editor \
    libexec/kavel-editor/kavel-draw-metafile share/applications/kavel-editor.desktop \
    share/icons/hicolor/48x48/apps/kavel-editor.png \
    share/kavel-editor/lang/langList.txt share/kavel-editor/lang/German.txt \
    share/kavel-editor/skin/README.txt share/kavel-editor/skin/dark/skin.txt \
    share/kavel-editor/skin/dark/background.jpg share/kavel-editor/readme_en.txt \
    share/kavel-editor/README.md share/kavel-editor/samples/kavel.def \
    share/kavel-editor/samples/textdb_en.def share/man/man1/kavel-editor.1.gz \
    share/man/man1/kaveldef.1.gz share/bash-completion/completions/kaveldef \
    share/metainfo/invalid.kavel_editor.editor.metainfo.xml \
    share/doc/kavel-editor/copyright share/doc/kavel-editor/changelog.gz \
    share/lintian/overrides/kavel-editor; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
[ ! -e "$prefix/share/kavel-editor/skin/skin.txt" ] || fail "a skin in use was shipped"
grep -qx 'Exec=kavel-editor' "$prefix/share/applications/kavel-editor.desktop" ||
    fail "the desktop entry does not start the launcher"
samples=$(cd "$(dirname "$0")/../../samples" && pwd)
"$prefix/bin/kaveldef" check "$samples/kavel.def" >/dev/null ||
    fail "the installed kaveldef does not run"

# The installed kaveldef draws a skin's metafile with the installed helper,
# and names the helper when it is gone. A red square, 100 units at 96 an inch:
{
    # The placeable header, then the metafile's own.
    printf '\327\315\306\232\000\000\000\000\000\000\144\000\144\000\140\000\000\000\000\000'
    printf '\161\127\001\000\011\000\000\003\057\000\000\000\002\000\020\000\000\000\000\000'
    printf '\005\000\000\000\014\002\144\000\144\000'                     # window 100 x 100
    printf '\007\000\000\000\374\002\000\000\377\000\000\000\000\000'         # red brush
    printf '\004\000\000\000\055\001\000\000'                             # selected
    printf '\010\000\000\000\372\002\005\000\000\000\000\000\000\000\000\000' # no pen
    printf '\004\000\000\000\055\001\001\000'                             # selected
    printf '\007\000\000\000\033\004\132\000\132\000\012\000\012\000'         # square
    printf '\003\000\000\000\000\000'                                     # end
} >"$scratch/square.wmf"
sed "s#^skin/dark/background.jpg\$#$scratch/square.wmf#" \
    "$prefix/share/kavel-editor/skin/dark/skin.txt" >"$scratch/wmf-skin.txt"
grep -q square.wmf "$scratch/wmf-skin.txt" || fail "the dark skin names no background"
render() {
    (cd "$prefix/share/kavel-editor" && env -u KAVEL_DRAW_METAFILE "$prefix/bin/kaveldef" \
        render "$samples/kavel.def" "$samples/textdb_en.def" --record 0 \
        --skin "$scratch/wmf-skin.txt" -o "$scratch/render.png" 2>&1 >/dev/null)
}
said=$(render) || fail "the installed kaveldef cannot render"
[ -z "$said" ] || fail "the installed kaveldef did not draw the metafile: $said"
mv "$prefix/libexec/kavel-editor/kavel-draw-metafile" "$scratch/"
said=$(render) || fail "the installed kaveldef cannot render without the helper"
case $said in
*"helper program kavel-draw-metafile is missing"*) ;;
*) fail "without the helper, the installed kaveldef said: $said" ;;
esac
mv "$scratch/kavel-draw-metafile" "$prefix/libexec/kavel-editor/"

cat >"$prefix/libexec/kavel-editor/kavel-editor" <<'STANDIN'
#!/bin/sh
pwd
for argument in "$@"; do echo "[$argument]"; done
STANDIN
chmod +x "$prefix/libexec/kavel-editor/kavel-editor"

home=$scratch/home
work=$scratch/work
mkdir -p "$home" "$work"
ln -s "$prefix/bin/kavel-editor" "$scratch/kavel-editor-link"
user=$home/.local/share/kavel-editor

# The first start seeds the default folder; relative files become absolute,
# options and the values of Qt's options stay as they are.
shown=$(cd "$work" && HOME=$home XDG_DATA_HOME=relative/path "$scratch/kavel-editor-link" \
    menus/kavel.def "$scratch/textdb.def" -style fusion -- -odd.def)
expected="$user
[$work/menus/kavel.def]
[$scratch/textdb.def]
[-style]
[fusion]
[--]
[$work/-odd.def]"
[ "$shown" = "$expected" ] || fail "launcher gave: $shown"
# The credits' link opens README.md in this folder, and the samples are the
# user's own copies to try the editor on.
for file in lang/langList.txt lang/English.txt skin/README.txt skin/dark/skin.txt \
    skin/dark/trbp300.jpg readme_en.txt README.md samples/kavel.def samples/textdb_en.def; do
    cmp -s "$prefix/share/kavel-editor/$file" "$user/$file" || fail "$file was not seeded"
done

# The user's own files stay; a deleted shipped file comes back.
echo "lang/German.txt" >"$user/settings.txt"
echo "my skin" >"$user/skin/skin.txt"
echo "my English" >"$user/lang/English.txt"
rm "$user/readme_en.txt"
HOME=$home "$prefix/bin/kavel-editor" >/dev/null
[ "$(cat "$user/settings.txt")" = "lang/German.txt" ] || fail "settings.txt was touched"
[ "$(cat "$user/skin/skin.txt")" = "my skin" ] || fail "skin/skin.txt was touched"
[ "$(cat "$user/lang/English.txt")" = "my English" ] || fail "an edited file was overwritten"
[ -e "$user/readme_en.txt" ] || fail "a deleted file did not come back"

# XDG_DATA_HOME is followed when it is absolute.
shown=$(HOME=$home XDG_DATA_HOME=$scratch/data "$prefix/bin/kavel-editor")
[ "$shown" = "$scratch/data/kavel-editor" ] || fail "XDG_DATA_HOME ignored: $shown"
[ -e "$scratch/data/kavel-editor/lang/langList.txt" ] || fail "XDG_DATA_HOME not seeded"
echo "install layout and launcher: ok"
