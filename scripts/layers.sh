#!/usr/bin/env bash
# The include graph between the source folders, and every include that runs upwards through the
# stack of layers (lowest first). Exit status 1 when one does.   Usage: scripts/layers.sh
set -euo pipefail
cd "$(dirname "$0")/../src"
layers=(core spelling platform look maker widgets windows app)
rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo 99; }
upward=0
while read -r count from to; do
    mark=""
    if [ "$(rank "$to")" -gt "$(rank "$from")" ]; then mark="   <- upward"; upward=$((upward + 1)); fi
    printf '%-9s -> %-9s %4d%s\n' "$from" "$to" "$count" "$mark"
done < <(grep -rHo '^#include "[a-z_]*/' --include='*.cpp' --include='*.h' . |
         sed -E 's|^\./([a-z_]+)/[^:]*:#include "([a-z_]+)/|\1 \2|' | awk '$1 != $2' | sort | uniq -c |
         awk '{ print $1, $2, $3 }')
# Within windows/, no window's folder includes another's.
across=$(grep -rHo '^#include "windows/[a-z_]*/' --include='*.cpp' --include='*.h' windows |
         sed -E 's|^windows/([a-z_]+)/[^:]*:#include "windows/([a-z_]+)/|\1 \2|' | awk '$1 != $2' | sort | uniq -c)
if [ -n "$across" ]; then
    echo "windows that include another window:"
    echo "$across" | awk '{ printf "  %-9s -> %-9s %4d\n", $2, $3, $1 }'
fi
echo "upward includes: $upward"
[ "$upward" -eq 0 ]
