# Sourced by the scripts: the package layers of scripts/packages.txt and what of them is here.

packages_file=$(dirname "${BASH_SOURCE[0]}")/packages.txt

# layer_packages LAYER [NEED]: the packages of LAYER (only the required or optional ones when NEED is given).
layer_packages() {
    awk -v layer="$1" -v need="${2:-}" \
        '$1 == layer && (need == "" || $2 == need) { print $3 }' "$packages_file"
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# missing_packages LAYER...: the packages of these layers that are not installed, each once.
missing_packages() {
    local layer p
    for layer in "$@"; do layer_packages "$layer"; done | awk '!seen[$0]++' | while read -r p; do
        installed "$p" || echo "$p"
    done
}
