#!/usr/bin/env bash
# Builds the .deb from a build folder and checks what it holds and what it needs.
set -euo pipefail
build=$1
cd "$build"
rm -f zeilwerk_*.deb
cpack -G DEB >/dev/null
deb=$(ls zeilwerk_*.deb)
contents=$(dpkg-deb -c "$deb")
status=0
for file in ./usr/bin/zeilwerk ./usr/libexec/zeilwerk/zeilwerk-maker.exe ./usr/share/applications/zeilwerk.desktop \
            ./usr/share/icons/hicolor/scalable/apps/zeilwerk.svg ./usr/share/icons/hicolor/256x256/apps/zeilwerk.png \
            ./usr/share/zeilwerk/txtbox.bmp ./usr/share/zeilwerk/txtclr.bmp; do
    grep -q " $file\$" <<<"$contents" || { echo "missing in $deb: $file"; status=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 qt6-qpa-plugins fonts-ipafont-mincho; do
    grep -q "$package" <<<"$depends" || { echo "$deb does not depend on $package: $depends"; status=1; }
done
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qw wine32 <<<"$recommends" || { echo "$deb does not recommend wine32 (the export's 32-bit Wine): $recommends"; status=1; }
echo "$deb: $(grep -c . <<<"$contents") entries; Depends: $depends"
exit $status
