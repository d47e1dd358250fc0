#!/usr/bin/env bash
# Installs with apt-get what is missing of the given package layers (scripts/packages.txt):
#   scripts/setup.sh LAYER...      e.g. "build" to run Zeilwerk, "build test fuzz windows wine32" for CI
# A mirror that serves some package lists half-synced ends nothing: the update is tried again
# and then taken as it is. A required package that cannot be installed ends the set-up with its
# name; an optional one is named in one line and left out.
set -euo pipefail
here=$(dirname "$0")
. "$here/packages.sh"
[ $# -gt 0 ] || set -- build
pause=${ZEILWERK_APT_RETRY_PAUSE:-20}
tries=3

for layer in "$@"; do
    [ -n "$(layer_packages "$layer")" ] || { echo "setup: no package layer \"$layer\" in $packages_file" >&2; exit 2; }
done
mapfile -t missing < <(missing_packages "$@")
[ ${#missing[@]} -gt 0 ] || exit 0

if ! command -v apt-get >/dev/null; then
    echo "setup: apt-get not found; install these packages yourself: ${missing[*]}" >&2
    exit 1
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# Another apt-get may hold the lock for a while; wait for it rather than fail.
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 "$@"; }

required=() optional=()
for p in "${missing[@]}"; do
    for layer in "$@"; do
        if layer_packages "$layer" required | grep -qxF "$p"; then required+=("$p"); continue 2; fi
    done
    optional+=("$p")
done

# The Maker is a 32-bit program, and so is the bridge to it: Wine's 32-bit half comes from i386.
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

echo "setup: installing ${missing[*]}"
update_log=$(mktemp)
trap 'rm -f "$update_log"' EXIT
for try in $(seq "$tries"); do
    apt_get update -qq >"$update_log" 2>&1 && break
    if [ "$try" -lt "$tries" ]; then
        echo "setup: apt-get update failed (try $try of $tries), trying again in $pause s"
        sleep "$pause"
    else
        # What could not be fetched, by the part of its address after dists/ (or whole).
        unfetched=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$update_log" | sed 's|.*/dists/||' | sort -u | tr '\n' ' ')
        echo "setup: package lists incomplete after $tries tries, going on with what is there; not fetched: ${unfetched:-$(grep -m1 '^E:' "$update_log" || echo '?')}"
    fi
done

# install_all PACKAGE...: installs them together, or else one by one; prints those that failed.
install_all() {
    [ $# -gt 0 ] || return 0
    apt_get install -y -qq --no-install-recommends "$@" >&2 2>"$update_log.install" && return 0
    local p
    for p in "$@"; do
        installed "$p" && continue
        apt_get install -y -qq --no-install-recommends "$p" >/dev/null 2>&1 || echo "$p"
    done
}

mapfile -t failed < <(install_all "${required[@]}")
if [ ${#failed[@]} -gt 0 ]; then
    echo "setup: cannot install required packages: ${failed[*]}" >&2
    grep -h -m5 -E '^ |^E:' "$update_log.install" >&2 2>/dev/null || true
    rm -f "$update_log.install"
    exit 1
fi
mapfile -t failed < <(install_all "${optional[@]}")
rm -f "$update_log.install"
if [ ${#failed[@]} -gt 0 ]; then
    echo "setup: optional packages not installable, going on without them: ${failed[*]}"
fi
exit 0
