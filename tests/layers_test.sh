#!/bin/sh
# The folders of the program are layers: each may include only from itself
# and from the folders listed before it. A step the other way (a file format
# reaching for the window, the document for the preview) fails here.
#   layers_test.sh SOURCE_DIR
set -eu
cd "$1"
layers="base document dump editing assets config preview app cli"
below=""
status=0
for layer in $layers; do
    for used in $(grep -rhoE '^#include "[a-z_]+/' "$layer" --include='*.h' --include='*.cpp' |
        sed 's/#include "//; s#/##' | sort -u); do
        [ "$used" = "$layer" ] && continue
        case " $below " in
        *" $used "*) ;;
        *)
            echo "FAIL: $layer/ includes from $used/:" >&2
            grep -rn "^#include \"$used/" "$layer" --include='*.h' --include='*.cpp' >&2
            status=1
            ;;
        esac
    done
    # app/ and cli/ are two front ends side by side, neither above the other.
    [ "$layer" = app ] || below="$below $layer"
done
[ "$status" -eq 0 ] && echo "layers: ok"
exit "$status"
