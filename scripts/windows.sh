#!/usr/bin/env bash
# Builds Zeilwerk for Windows on Debian: Qt base cross-built from Debian's source package
# (once, kept under build-windows/qt), then zeilwerk.exe against it, laid out as a folder
# and a zip.   Usage: scripts/windows.sh [qt|build|test]   (no argument: qt and build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
qt_version=6.4.2+dfsg-10
qt_src=$out/qt/src
qt_build=$out/qt/build
qt_install=$out/qt/install
toolchain=$root/packaging/windows/mingw-toolchain.cmake
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

setup() {
    bash scripts/setup.sh
    local packages=(fonts-dejavu-core g++-mingw-w64-x86-64-posix ninja-build dpkg-dev zip unzip libgtest-dev libz-mingw-w64-dev xclip)
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

fetch_qt() {
    [ -f "$qt_src/CMakeLists.txt" ] && return
    # Debian's source packages come from the deb-src twin of the system's own package list.
    if ! apt-get source --print-uris "qt6-base=$qt_version" >/dev/null 2>&1; then
        echo "Adding Debian's source package list"
        printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: bookworm" \
            "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
            $sudo tee /etc/apt/sources.list.d/zeilwerk-deb-src.sources >/dev/null
        $sudo apt-get update -qq
    fi
    rm -rf "$out/qt/fetch" && mkdir -p "$out/qt/fetch"
    (cd "$out/qt/fetch" && apt-get source -qq "qt6-base=$qt_version")
    rm -rf "$qt_src" && mv "$out/qt/fetch"/qt6-base-*/ "$qt_src" && rm -rf "$out/qt/fetch"
}

build_qt() {
    [ -f "$qt_install/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] && return
    fetch_qt
    local start=$SECONDS
    # Shared libraries, so users may swap in their own Qt build (LGPL); only what Widgets needs.
    # The +dfsg source lacks the tablet headers; 6.4's Windows plug-in needs OpenGL as a feature
    # but builds without it as an input; direct2d must stay on for the plug-in to link.
    cmake -S "$qt_src" -B "$qt_build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZEILWERK_WINDOWS_QT="$qt_install" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qt_install" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_freetype=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_pkg_config=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_tabletevent=OFF -DINPUT_opengl=no >"$out/qt/configure.log"
    echo "Qt configured after $((SECONDS - start)) s"
    cmake --build "$qt_build" --parallel 2 >"$out/qt/build.log"
    cmake --install "$qt_build" >"$out/qt/install.log"
    echo "Qt built and installed after $((SECONDS - start)) s"
}

build_zeilwerk() {
    local start=$SECONDS
    cmake -S . -B "$out/zeilwerk" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZEILWERK_WINDOWS_QT="$qt_install" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt_install" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine)" -DZEILWERK_BENCH=OFF >/dev/null
    WINEPREFIX="$prefix" WINEDEBUG=-all cmake --build "$out/zeilwerk" --parallel 2 --target zeilwerk pictures core_tests
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
zeichnen kann.
TEXT
    (cd "$out" && rm -f Zeilwerk-windows.zip && zip -qr Zeilwerk-windows.zip Zeilwerk)
    echo "Ready: $ready and $out/Zeilwerk-windows.zip"
}

mkdir -p "$out"
# One Wine prefix for all of it: the Linux build's, when it has made one, else our own.
prefix=$root/build/wine-prefix
[ -d "$prefix" ] || prefix=$out/wine-prefix
case "${1:-all}" in
    qt) setup; build_qt ;;
    build|all) setup; build_qt; build_zeilwerk; lay_out ;;
    test) setup; bash scripts/windows_test.sh "$out" "$prefix" ;;
    *) echo "unknown step: $1" >&2; exit 2 ;;
esac
