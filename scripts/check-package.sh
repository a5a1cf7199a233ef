#!/usr/bin/env bash
# Makes the Debian package from a build folder and puts it through Debian's
# own checks, failing on any error or warning:
#   - lintian on the package (an overridden tag counts only where the
#     package's override file says why: lang/German.txt's code page);
#   - appstreamcli validate(-tree) on the metainfo, as the package installs
#     it beside the desktop entry and the icon;
#   - desktop-file-validate on the desktop entry, as the package installs it.
#
#   scripts/check-package.sh [BUILD_FOLDER]     (default build/, built already)
#
# The three checkers (packages lintian, appstream, desktop-file-utils) are
# installed when missing; neither the build nor the tests need them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"

missing=()
for package in lintian appstream desktop-file-utils; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update >/dev/null
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}" >/dev/null
fi

rm -f "$build"/kavel-editor_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/kavel-editor_*.deb)"
files="$(mktemp -d)"
trap 'rm -rf "$files"' EXIT
dpkg-deb -x "$deb" "$files"
status=0

echo "== lintian $(basename "$deb")"
# As root lintian says so on its standard error; that note is no finding.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) || status=1

echo "== appstreamcli validate-tree"
# The metainfo as installed, with the desktop entry and the icon it names.
# Notes of information are shown; an error or a warning fails.
report="$(appstreamcli validate-tree --no-net "$files" 2>&1)" || status=1
echo "$report"
grep -q '^ *[EW]:' <<<"$report" && status=1
[[ -n "$(ls "$files"/usr/share/metainfo/*.metainfo.xml 2>/dev/null)" ]] ||
    { echo "no metainfo in the package"; status=1; }

echo "== desktop-file-validate"
for entry in "$files"/usr/share/applications/*.desktop; do
    report="$(desktop-file-validate "$entry" 2>&1)" || status=1
    if [[ -z "$report" ]]; then
        echo "$(basename "$entry"): ok"
    else
        echo "$report"
        status=1
    fi
done

((status == 0)) && echo "package checks: ok" || echo "package checks: FAILED"
exit "$status"
