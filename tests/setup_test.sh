#!/usr/bin/env bash
# The set-up against a stand-in apt-get and dpkg that fail as a half-synced mirror does, and the
# package layers against what the program's CMake finds.   Usage: setup_test.sh SOURCE_FOLDER
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check NAME CONDITION...
    if "${@:2}"; then passed=$((passed + 1)); else echo "FAIL: $1"; failed=$((failed + 1)); fi
}

# The stand-ins keep their state in $FAKE: installed, broken (never installable), arches,
# update_fails (the i386 list has the wrong size), calls (every apt-get call).
mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
grep -qxF "${!#}" "$FAKE/installed" && { echo -n "install ok installed"; exit 0; }
echo "dpkg-query: no packages found matching ${!#}" >&2; exit 1
STUB
cat >"$work/bin/dpkg" <<'STUB'
#!/usr/bin/env bash
case $1 in
    --print-foreign-architectures) cat "$FAKE/arches" ;;
    --add-architecture) echo "$2" >>"$FAKE/arches" ;;
esac
STUB
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$FAKE/calls"
args=() ; for a in "$@"; do case $a in -*|Dpkg::*|DPkg::*) ;; *) args+=("$a") ;; esac; done
case ${args[0]} in
    update)
        [ -e "$FAKE/update_fails" ] || exit 0
        echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 127.0.0.1 80]" >&2
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 100 ;;
    install)
        for p in "${args[@]:1}"; do
            if grep -qxF "$p" "$FAKE/broken"; then
                echo " libwine:i386 : Depends: libasound2:i386 but it is not going to be installed"
                echo "E: Unable to correct problems, you have held broken packages." >&2
                exit 100
            fi
        done
        printf '%s\n' "${args[@]:1}" >>"$FAKE/installed" ;;
esac
STUB
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*

# setup_case NAME LAYERS INSTALLED_LAYERS MISSING BROKEN UPDATE_FAILS: runs setup.sh with every
# package of INSTALLED_LAYERS installed but MISSING; output in $work/NAME.out, status in $status.
setup_case() {
    export FAKE=$work/$1
    mkdir -p "$FAKE"
    (. "$source_dir/scripts/packages.sh"; for l in $3; do layer_packages "$l"; done) | grep -vxF -f <(tr ' ' '\n' <<<"$4" | grep .) >"$FAKE/installed" || true
    tr ' ' '\n' <<<"$5" >"$FAKE/broken"
    : >"$FAKE/arches" ; : >"$FAKE/calls"
    if [ "$6" = yes ]; then touch "$FAKE/update_fails"; fi
    status=0
    PATH=$work/bin:$PATH ZEILWERK_APT_RETRY_PAUSE=0 bash "$source_dir/scripts/setup.sh" $2 >"$work/$1.out" 2>&1 || status=$?
}
said() { grep -qF -- "$2" "$work/$1.out"; }
calls() { grep -c "$2" "$work/$1/calls"; }

# The everyday mirror fault: every required package still comes, wine32:i386 is named and left out.
setup_case mirror "build test wine32" "build test" "qt6-base-dev xvfb wine32:i386" "wine32:i386" yes
check "a half-synced mirror ends nothing" [ "$status" -eq 0 ]
check "the update is tried three times" [ "$(calls mirror update)" -eq 3 ]
check "what was not fetched is named" said mirror "not fetched: bookworm-security/main/binary-i386/Packages.xz"
check "the optional package that cannot be had is named" said mirror "going on without them: wine32:i386"
check "the required ones are installed" grep -qx qt6-base-dev "$FAKE/installed"
check "i386 is added for Wine's 32-bit half" grep -qx i386 "$FAKE/arches"

# A required package that cannot be installed ends the set-up with its name.
setup_case required "build" "build" "qt6-base-dev hunspell-de-de" "qt6-base-dev" no
check "a required package missing stops the set-up" [ "$status" -ne 0 ]
check "it names the package" said required "cannot install required packages: qt6-base-dev"
check "the others are still installed" grep -qx hunspell-de-de "$FAKE/installed"

# All there: apt-get is not asked at all, and the run layer never brings test or cross tools.
setup_case complete "build" "build" "" "" yes
check "nothing missing, nothing done" [ "$status" -eq 0 ] && [ ! -s "$work/complete/calls" ]
setup_case run_layer "build" "" "" "" no
check "the run layer installs no test or cross-build tool" \
    bash -c '! grep -qE "^(libgtest|libbenchmark|xvfb|openbox|xdotool|clang|libclang|g\+\+-mingw|wine)" "$1"' _ "$work/run_layer/installed"
check "i386 is not added for the run layer" [ ! -s "$work/run_layer/arches" ]

# Every package the program's own CMake finds (no tests, no benchmarks) comes with the build
# layer: its owner is in the layer or a dependency of one, two steps down at most.
depends() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Depends}\n' "$p" 2>/dev/null | tr ',|' '\n\n' | sed 's/(.*//; s/:any//; s/ //g'
    done | grep . | sort -u
}
build_layer=$(. "$source_dir/scripts/packages.sh"; layer_packages build)
cmake -S "$source_dir" -B "$work/program" -DZEILWERK_TESTS=OFF -DZEILWERK_BENCH=OFF >/dev/null 2>&1
found=$(sed -n -E 's/^([A-Za-z0-9_]+_DIR|[A-Za-z0-9_]*INCLUDE_DIR[A-Za-z0-9_]*|pkgcfg_lib_[^:]*|ZLIB_LIBRARY_RELEASE|PKG_CONFIG_EXECUTABLE|CMAKE_CXX_COMPILER):[A-Z]+=(\/usr\/.*)$/\2/p' \
    "$work/program/CMakeCache.txt"; echo /usr/share/fonts/X11/misc/shnm6x12a.pcf.gz)
first=$(depends $build_layer)
allowed=$( { echo "$build_layer"; echo "$first"; depends $first; } | sort -u)
check "the program's CMake found some system files" [ "$(wc -l <<<"$found")" -gt 5 ]
for path in $found; do
    owner=$(dpkg-query -S "$(readlink -f "$path")" 2>/dev/null | head -1 | cut -d: -f1)
    [ -n "$owner" ] || owner=$(dpkg-query -S "$path" 2>/dev/null | head -1 | cut -d: -f1)
    check "$path (package ${owner:-none}) comes with the build layer" grep -qxF "${owner:-none}" <<<"$allowed"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
