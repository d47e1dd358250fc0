#!/usr/bin/env bash
# Builds Zeilwerk for Windows on Debian: Qt base cross-built from Debian's source package
# (once per machine, kept in the user's cache folder), then zeilwerk.exe against it, laid out
# as a folder and a zip.   Usage: scripts/windows.sh [qt|build|test]   (no argument: qt and build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
qt_version=6.4.2+dfsg-10
toolchain=$root/packaging/windows/mingw-toolchain.cmake
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 "$@"; }

# Shared libraries, so users may swap in their own Qt build (LGPL); only what Widgets needs.
# The +dfsg source lacks the tablet headers; 6.4's Windows plug-in needs OpenGL as a feature
# but builds without it as an input; direct2d must stay on for the plug-in to link.
qt_options=(
    -DCMAKE_BUILD_TYPE=Release
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF
    -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_freetype=OFF -DFEATURE_zstd=OFF
    -DFEATURE_pkg_config=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_tabletevent=OFF -DINPUT_opengl=no
)
# Qt lives outside the clone, so a fresh clone reuses it; other options or another toolchain
# file give another folder and a new build.
qt_cache=${XDG_CACHE_HOME:-$HOME/.cache}/zeilwerk
qt_hash=$( { echo "$qt_version"; printf '%s\n' "${qt_options[@]}"; cat "$toolchain"; } | sha256sum | cut -c1-10)
qt_install=$qt_cache/qt-$qt_version-mingw-$qt_hash
hunspell_version=1.7.1-1
hunspell_source=$qt_cache/hunspell-$hunspell_version

setup() {
    bash scripts/setup.sh build windows
    . scripts/packages.sh
    local missing
    missing=$(missing_packages windows | tr '\n' ' ')
    if [ -n "$missing" ]; then
        echo "The Windows build needs packages that could not be installed: $missing" >&2
        exit 1
    fi
}

# A deb-src twin of every deb entry the system itself has: same mirror, suites, components
# and keys, so a machine with its own mirror or proxy fetches from there.
deb_src_entries() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && [ "$(basename "$f")" != zeilwerk-deb-src.list ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
    done >"$1.list"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && [ "$(basename "$f")" != zeilwerk-deb-src.sources ] || continue
        awk 'BEGIN { RS = "" }
        {
            n = split($0, lines, "\n"); types = ""; kept = ""; on = 1; keep = 0
            for (i = 1; i <= n; i++) {
                line = lines[i]
                if (line ~ /^#/) continue
                if (line ~ /^[ \t]/) { if (keep) kept = kept "\n" line; continue }
                name = tolower(substr(line, 1, index(line, ":") - 1))
                value = substr(line, index(line, ":") + 1)
                keep = name == "uris" || name == "suites" || name == "components" || name == "signed-by"
                if (keep) kept = kept "\n" line
                if (name == "types") types = value
                if (name == "enabled" && value ~ /[Nn]o/) on = 0
            }
            if (on && types ~ /(^|[ \t])deb([ \t]|$)/) print "Types: deb-src" kept "\n"
        }' "$f"
    done >"$1.sources"
}

# fetch_source PACKAGE=VERSION FOLDER: Debian's source package unpacked into FOLDER/src.
fetch_source() {
    if ! apt-get source --print-uris "$1" >/dev/null 2>&1; then
        echo "Adding deb-src twins of the system's package sources"
        local tmp
        tmp=$(mktemp)
        deb_src_entries "$tmp"
        local kind
        for kind in list sources; do
            if [ -s "$tmp.$kind" ]; then
                $sudo install -m 644 "$tmp.$kind" "/etc/apt/sources.list.d/zeilwerk-deb-src.$kind"
            fi
        done
        rm -f "$tmp" "$tmp.list" "$tmp.sources"
        # A half-synced mirror may fail some lists; the sources may still be there.
        apt_get update -qq || echo "apt-get update failed in part; trying the source package all the same"
    fi
    mkdir -p "$2/fetch"
    (cd "$2/fetch" && apt-get source -qq "$1")
    mv "$2/fetch"/"${1%%=*}"-*/ "$2/src"
    rm -rf "$2/fetch"
}

fetch_qt() { fetch_source "qt6-base=$qt_version" "$1"; }

# Hunspell's library sources, compiled into zeilwerk.exe by our CMakeLists; fetched once per
# version into the cache folder, renamed into place when complete.
fetch_hunspell() {
    [ -d "$hunspell_source" ] && return
    mkdir -p "$qt_cache"
    local work=$hunspell_source.partial
    rm -rf "$work" && mkdir -p "$work"
    fetch_source "hunspell=$hunspell_version" "$work"
    mv "$work/src" "$hunspell_source"
    rm -rf "$work"
}

# Built and installed (through DESTDIR, so the installed paths are the final ones) in a
# sibling folder, then renamed into place: the folder exists only when it is complete.
build_qt() {
    [ -d "$qt_install" ] && return
    mkdir -p "$qt_cache"
    exec 9>"$qt_cache/.qt.lock"
    flock 9
    if [ -d "$qt_install" ]; then exec 9>&-; return; fi
    local work=$qt_install.partial
    rm -rf "$work" && mkdir -p "$work"
    echo "Building Qt $qt_version for Windows into $qt_install (logs in $work)"
    local start=$SECONDS
    fetch_qt "$work"
    cmake -S "$work/src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZEILWERK_WINDOWS_QT="$qt_install" \
        -DCMAKE_INSTALL_PREFIX="$qt_install" "${qt_options[@]}" >"$work/configure.log"
    echo "Qt configured after $((SECONDS - start)) s"
    cmake --build "$work/build" --parallel 2 >"$work/build.log"
    DESTDIR=$work/stage cmake --install "$work/build" >"$work/install.log"
    mv "$work/stage$qt_install" "$qt_install"
    rm -rf "$work"
    exec 9>&-
    echo "Qt built and installed after $((SECONDS - start)) s"
}

build_zeilwerk() {
    local start=$SECONDS
    cmake -S . -B "$out/zeilwerk" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZEILWERK_WINDOWS_QT="$qt_install" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt_install" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DZEILWERK_HUNSPELL_SOURCE="$hunspell_source" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$wine64" -DZEILWERK_BENCH=OFF >/dev/null
    cmake --build "$out/zeilwerk" --parallel 2 --target zeilwerk pictures core_tests
    echo "zeilwerk.exe built in $((SECONDS - start)) s"
}

# The ready folder: the program, Qt's DLLs and plug-ins, the compiler's run-time DLLs that
# Qt's need, our pictures, fonts the system may lack, and what the licences ask for.
lay_out() {
    local ready=$out/Zeilwerk
    local gcc_dlls
    gcc_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    rm -rf "$ready" && mkdir -p "$ready/platforms" "$ready/styles" "$ready/fonts"
    x86_64-w64-mingw32-strip -o "$ready/zeilwerk.exe" "$out/zeilwerk/zeilwerk.exe"
    cp "$out/zeilwerk/txtbox.bmp" "$out/zeilwerk/txtclr.bmp" "$ready/"
    for lib in Qt6Core Qt6Gui Qt6Widgets; do
        x86_64-w64-mingw32-strip -o "$ready/$lib.dll" "$qt_install/bin/$lib.dll"
    done
    x86_64-w64-mingw32-strip -o "$ready/platforms/qwindows.dll" "$qt_install/plugins/platforms/qwindows.dll"
    if [ -f "$qt_install/plugins/styles/qwindowsvistastyle.dll" ]; then
        x86_64-w64-mingw32-strip -o "$ready/styles/qwindowsvistastyle.dll" "$qt_install/plugins/styles/qwindowsvistastyle.dll"
    fi
    for dll in "$gcc_dlls/libstdc++-6.dll" "$gcc_dlls/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll; do
        x86_64-w64-mingw32-strip -o "$ready/$(basename "$dll")" "$dll"
    done
    # Tahoma for systems without it (Wine); the twins of MS Mincho and of Fixedsys, a raster
    # font that Qt does not draw on Windows.
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
        /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf "$ready/fonts/"
    cp /usr/share/doc/fonts-ipafont-mincho/copyright "$ready/fonts/ipam-copyright.txt"
    cp /usr/share/doc/fonts-dejavu-core/copyright "$ready/fonts/dejavu-copyright.txt"
    # The free 6 x 12 bitmap font the game's look draws with when a game's own font is nowhere.
    cp /usr/share/fonts/X11/misc/shnm6x12a.pcf.gz "$ready/fonts/"
    cp /usr/share/doc/xfonts-shinonome/copyright "$ready/fonts/shinonome-copyright.txt"
    # The German dictionary of the spelling check (Debian's hunspell-de-de) and Hunspell's licence.
    mkdir -p "$ready/woerterbuch"
    cp -L /usr/share/hunspell/de_DE.aff /usr/share/hunspell/de_DE.dic "$ready/woerterbuch/"
    cp /usr/share/doc/hunspell-de-de/copyright "$ready/woerterbuch/de_DE-copyright.txt"
    cp "$hunspell_source/COPYING.MPL" "$ready/hunspell-MPL-1.1.txt"
    cp /usr/share/common-licenses/LGPL-3 "$ready/LGPL-3.txt"
    cp /usr/share/common-licenses/GPL-3 "$ready/GPL-3.txt"
    cat >"$ready/LIESMICH.txt" <<'TEXT'
Zeilwerk für Windows
====================

zeilwerk.exe starten. Einstellungen und Profile liegen neben dem Programm, wenn es dort
schreiben darf, sonst in %APPDATA%\Zeilwerk.

Zeilwerk benutzt Qt 6.4.2 (Qt Base, aus Debians Quellpaket qt6-base 6.4.2+dfsg-10) unter der
GNU LGPL Version 3 (LGPL-3.txt, GPL-3.txt). Qt liegt als eigene DLLs bei (Qt6Core.dll,
Qt6Gui.dll, Qt6Widgets.dll, platforms\qwindows.dll): Sie dürfen sie durch eine selbst gebaute,
verträgliche Qt-Version ersetzen. Den Quelltext von Qt gibt es bei Debian (apt-get source
qt6-base=6.4.2+dfsg-10) und beim Qt-Projekt; scripts/windows.sh im Quelltext von Zeilwerk
zeigt, wie diese DLLs gebaut wurden.

Im Ordner fonts liegen Schriften für Rechner, denen sie fehlen: Tahoma des Wine-Projekts (LGPL
2.1 oder später), IPAMincho als Ersatz für MS Mincho (IPA Font License, ipam-copyright.txt) und
DejaVu Sans Mono (dejavu-copyright.txt) als Ersatz für Fixedsys, die Qt unter Windows nicht
zeichnen kann, und die Bitmap-Schrift Shinonome 6 × 12 (gemeinfrei, shinonome-copyright.txt),
mit der die Vorschau "wie im Spiel" zeichnet, wenn das Spiel keine eigene Schrift mitbringt.

Die Rechtschreibprüfung benutzt Hunspell 1.7.1 (aus Debians Quellpaket hunspell 1.7.1-1, in
zeilwerk.exe enthalten, unter der Mozilla Public License 1.1, hunspell-MPL-1.1.txt; den
Quelltext gibt es mit apt-get source hunspell=1.7.1-1). Im Ordner woerterbuch liegt das
deutsche Wörterbuch de_DE.aff und de_DE.dic (igerman98 von Björn Jacke, aus Debians Paket
hunspell-de-de, GPL 2 oder später, de_DE-copyright.txt). Weitere Hunspell-Wörterbücher
(NAME.aff und NAME.dic) dürfen dazugelegt und unter Optionen, Spiel, "Wörterbuch" gewählt
werden. Die eigenen Wörter eines Spiels stehen in woerterlisten im Einstellungsordner.
TEXT
    (cd "$out" && rm -f Zeilwerk-windows.zip && zip -qr Zeilwerk-windows.zip Zeilwerk)
    echo "Ready: $ready and $out/Zeilwerk-windows.zip"
}

# A 64-bit Wine prefix of the Windows build's own, run with the 64-bit loader: Debian's
# "wine" picks the 32-bit one when wine32 is installed, which a prefix made without it lacks.
export WINEPREFIX=$out/wine-prefix WINEARCH=win64 WINEDEBUG=-all
wine64=$(command -v wine64 || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || command -v wine || true)
export WINE64=$wine64

main() {
    mkdir -p "$out"
    case "${1:-all}" in
        qt) setup; build_qt ;;
        build|all) setup; build_qt; fetch_hunspell; build_zeilwerk; lay_out ;;
        test) setup; bash scripts/windows_test.sh "$out" "$WINEPREFIX" ;;
        *) echo "unknown step: $1" >&2; exit 2 ;;
    esac
}
# On one line, so that editing this file while it runs cannot change what it does next.
main "$@"; exit
