#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor on the sample
# document. The working folder is the repository root, which holds the
# program's lang/, skin/ and readme_en.txt. Other arguments replace the sample.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" >/dev/null
cd "$root"
if (($#)); then
    exec "$root/build/app/kavel-editor" "$@"
fi
exec "$root/build/app/kavel-editor" samples/kavel.def samples/textdb_en.def
