#!/usr/bin/env bash
# The Windows build under Wine: the core tests, then zeilwerk.exe itself on a virtual screen
# with openbox, typed into and sending to our stand-in Maker dialog.
#   Usage: scripts/windows_test.sh BUILD_WINDOWS_FOLDER WINEPREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$1
# A 64-bit prefix for these tests alone, always run with the 64-bit loader (see windows.sh).
export WINEPREFIX=$2 WINEARCH=win64 WINEDEBUG=-all
wine=${WINE64:-$(command -v wine64 || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || command -v wine)}
work=$(mktemp -d)
display=:$((60 + RANDOM % 30))
cleanup() {
    wineserver -k 2>/dev/null || true
    kill $(jobs -p) 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
passed=0 failed=0
check() {  # check NAME COMMAND...
    if "${@:2}"; then
        echo "PASS: $1"; passed=$((passed + 1))
    else
        echo "FAIL: $1"; failed=$((failed + 1))
    fi
}

echo "== core tests under Wine"
start=$SECONDS
check "core tests (scanner, INI, code page, export text) under Wine" \
    "$wine" "$out/zeilwerk/core_tests.exe" --gtest_brief=1
echo "core tests took $((SECONDS - start)) s"

echo "== zeilwerk.exe under Wine, Xvfb and openbox"
start=$SECONDS
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
sleep 1
cp -r "$out/Zeilwerk" "$work/"
x86_64-w64-mingw32-g++ -std=c++20 -O2 -static -o "$work/fake_maker.exe" tests/fake_maker.cpp -luser32 -lgdi32

(cd "$work/Zeilwerk" && "$wine" zeilwerk.exe >"$work/zeilwerk.log" 2>&1 &)
windows_up() {
    for title in Texteingabe Optionen Textvorschau Werkzeuge; do
        xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || return 1
    done
}
wait_for() {  # wait_for SECONDS COMMAND...
    local until=$((SECONDS + $1))
    while [ $SECONDS -lt "$until" ]; do "${@:2}" && return 0; sleep 0.5; done
    return 1
}
check "the four windows come up" wait_for 120 windows_up
sleep 2

# A window's client area: x y width height.
geometry() {
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
    xdotool getwindowgeometry --shell "$id" | awk -F= '/^X=/{x=$2}/^Y=/{y=$2}/^WIDTH=/{w=$2}/^HEIGHT=/{h=$2} END{print x, y, w, h}'
}
# Umlauts and "€" come through the clipboard: Wine reads the X keymap once at its start, so
# the keys xdotool maps for such characters on the fly arrive as other characters.
read -r ix iy _ _ < <(geometry Texteingabe)
xdotool mousemove $((ix + 200)) $((iy + 80)) click 1
sleep 0.5
printf 'Grüße \\c[2]aus Wine: 5 €' | xclip -selection clipboard
xdotool key ctrl+v
xdotool type --delay 40 '!'
sleep 1
import -window root "$work/typed.png" 2>/dev/null || true

# Our stand-in Maker dialog, then "Zum Maker senden" on the option window's page "Text".
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
(cd "$work" && "$wine" fake_maker.exe "$(winpath "$work/record.bin")" "$(winpath "$work/ready.txt")" \
    "$(winpath "$work/quit.txt")" >/dev/null 2>&1 &)
check "the stand-in Maker dialog comes up" wait_for 60 test -f "$work/ready.txt"
# Places in the option window's X window, which holds the caption Wine draws itself.
read -r ox oy _ _ < <(geometry Optionen)
xdotool mousemove $((ox + 139)) $((oy + 38)) click 1      # the tab "Text"
sleep 0.7
xdotool mousemove $((ox + 90)) $((oy + 193)) click 1      # "Zum Maker senden"
expected=$(printf 'Gr\xfc\xdfe \\c[2]aus Wine: 5 \x80!\r\r\r\r' | od -An -tx1 | tr -d ' \n')
received() { [ "$(od -An -tx1 "$work/record.bin" 2>/dev/null | tr -d ' \n' | sed 's/\(..\)00/\1/g')" = "$expected" ]; }
check "the message arrives in the Maker's dialog, character for character" wait_for 20 received
echo "expected: $expected"
echo "received: $(od -An -tx1 "$work/record.bin" 2>/dev/null | tr -d ' \n' | sed 's/\(..\)00/\1/g')"
touch "$work/quit.txt"

mkdir -p "$out/screenshots"
import -window root "$out/screenshots/wine-root.png" 2>/dev/null || true
cp "$work/typed.png" "$out/screenshots/wine-typed.png" 2>/dev/null || true
echo "desktop test took $((SECONDS - start)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
