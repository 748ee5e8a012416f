#!/bin/sh
# The folders of src/core depend on each other in one direction only (platform at the bottom,
# then i18n, model, calendar, entry, views, app, and the bus, transfer and output on top), so
# that each can be built and tested with the ones below it alone. Fails, naming the folders,
# when an include makes two of them depend on each other, directly or round a loop.
set -eu
core=${1:-$(dirname "$0")/../src/core}
pairs=$(mktemp)
trap 'rm -f "$pairs"' EXIT
for dir in "$core"/*/; do
    from=$(basename "$dir")
    grep -rhoE '^#include "[a-z0-9]+/' "$dir" | sed -E 's/^#include "([a-z0-9]+)\//\1/' | sort -u |
        while read -r to; do
            if [ "$to" != "$from" ] && [ -d "$core/$to" ]; then
                echo "$from $to"
            fi
        done >>"$pairs"
done
if ! tsort "$pairs" >/dev/null 2>"$pairs.err"; then
    echo "src/core folders include each other round a loop:" >&2
    grep -v 'input contains a loop' "$pairs.err" | sed 's/^tsort: /  /' >&2
    rm -f "$pairs.err"
    exit 1
fi
rm -f "$pairs.err"
echo "src/core folders: no include loop"
