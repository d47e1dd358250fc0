#!/usr/bin/env bash
# Takes the README's screenshots: the real program on a virtual screen with the openbox
# window manager, typed into with xdotool, photographed with ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh build test
command -v import >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends imagemagick >/dev/null; }
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zeilwerk pictures demo_game >/dev/null

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r build/zeilwerk build/txtbox.bmp build/txtclr.bmp build/fonts "$work/"

Xvfb :77 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=:77 QT_QPA_PLATFORM=xcb
sleep 1
openbox >/dev/null 2>&1 &
sleep 1

# Starts the program, types the message, and leaves it running.
start_and_type() {
    (cd "$work" && ./zeilwerk >/dev/null 2>&1 &)
    xdotool search --sync --onlyvisible --name '^Texteingabe$' >/dev/null
    sleep 1
    # xdotool maps a key for "ü" on first use; a first try may get lost, so it warms up.
    xdotool type --delay 15 'ü'
    xdotool key BackSpace
    xdotool type --delay 15 'Hallo \c[2]Alex\c[0]! Schön, dich zu sehen.'
    xdotool key Return
    xdotool type --delay 15 'Du hast \v[12] Goldstücke\. gefunden.'
    xdotool key Return
    xdotool type --delay 15 '\s[5]Warte\|\_\_ein Moment\!'
    sleep 1
}

# The four windows at first start, cut to the group.
start_and_type
import -window root "$work/screen.png"
/usr/bin/convert "$work/screen.png" -trim +repage -bordercolor black -border 12 "$root/docs/erster-start.png"
pkill -x zeilwerk; sleep 1

# The preview at twice the size, coloured, through a profile loaded at start-up.
printf '[laden]\r\nauto=1\r\ndatei=standard.ini\r\n' >"$work/optn.ini"
printf '[vorschau]\r\naktiv=1\r\naktiv_set=1\r\nscale2x=1\r\nscale2x_set=1\r\nplain=0\r\nplain_set=0\r\n[text]\r\nlaenge=50\r\nausrichtung_set=1\r\n' \
    >"$work/standard.ini"
start_and_type
preview=$(xdotool search --onlyvisible --name '^Textvorschau$' | head -1)
import -window "$preview" -frame "$root/docs/vorschau-2x.png"
pkill -x zeilwerk; sleep 1

# The same message as the game's engine draws it, in our own demo game: once with our own
# bitmap font in the game folder, once with the free fallback font.
start_in_game() {  # folder, more keys of the section vorschau, more keys of the section spiel
    printf '[laden]\r\nauto=1\r\ndatei=standard.ini\r\n' >"$work/optn.ini"
    printf '[vorschau]\r\n%s' "${2:-}" >"$work/standard.ini"
    printf '[spiel]\r\nordner=%s\r\nsystem=\r\naktiv_set=1\r\naktiv=1\r\nvariable=1250\r\n%s' "$1" "${3:-}" >>"$work/standard.ini"
    (cd "$work" && ./zeilwerk >/dev/null 2>&1 &)
    xdotool search --sync --onlyvisible --name '^Texteingabe$' >/dev/null
    sleep 1
    xdotool type --delay 40 'üö'
    xdotool key BackSpace BackSpace
}
game_look() {  # folder, picture, more keys of the section spiel
    start_in_game "$1" $'aktiv=1\r\naktiv_set=1\r\nscale2x=1\r\nscale2x_set=1\r\n' "${3:-}"
    xdotool type --delay 40 'Hallo \c[2]\n[1]\c[0]! Schön, dich zu sehen.'
    xdotool key Return
    xdotool type --delay 40 '\C[11]\N[2]\C[0] hat \c[10]\v[12] Goldstücke\c[0] gefunden. $A $E'
    xdotool key Return
    xdotool type --delay 40 '\c[4]Vorsicht:\c[0] immer nur einer auf einmal!'
    sleep 1
    preview=$(xdotool search --onlyvisible --name '^Textvorschau$' | head -1)
    import -window "$preview" -frame "$2"
    pkill -x zeilwerk; sleep 1
}
build/tests/demo_game "$work/Spiel" >/dev/null 2>&1
game_look "$work/Spiel" "$root/docs/spiel.png"
build/tests/demo_game "$work/Spiel2" --ohne-schrift >/dev/null 2>&1
game_look "$work/Spiel2" "$root/docs/spiel-ersatzschrift.png"
# A mirrored face on the left, the window transparent over a picture, the whole screen.
game_look "$work/Spiel" "$root/docs/spiel-bildschirm.png" \
    $'gesicht=Gesichter\r\ngesicht_nr=6\r\ngesicht_gespiegelt=1\r\ntransparent=1\r\nposition=2\r\nhintergrund=Wiese\r\nbildschirm=1\r\n'
# RPG Maker 2003's semi-transparent window over a picture.
build/tests/demo_game "$work/Spiel2003" --2003 >/dev/null 2>&1
game_look "$work/Spiel2003" "$root/docs/spiel-2003.png" \
    $'gesicht=Gesichter\r\ngesicht_nr=2\r\nposition=1\r\nhintergrund=Wiese\r\nbildschirm=1\r\n'
# A long line beside a face on the right: it ends with the last cell that ends by x = 240.
start_in_game "$work/Spiel" $'scale2x=1\r\nscale2x_set=1\r\n' $'gesicht=Gesichter\r\ngesicht_nr=9\r\ngesicht_rechts=1\r\n'
xdotool type --delay 40 'Diese Zeile ist viel zu lang für das Fenster des Spiels, sie läuft'
sleep 1
preview=$(xdotool search --onlyvisible --name '^Textvorschau$' | head -1)
import -window "$preview" -frame "$root/docs/spiel-gesicht-rechts.png"
pkill -x zeilwerk; sleep 1

# The checks while typing: a line too wide for the box and a typo, marked in the input.
start_in_game "$work/Spiel"
xdotool type --delay 40 'Hallo \c[2]\n[1]\c[0]! Hier ist ein Tipfehler versteckt.'
xdotool key Return
xdotool type --delay 40 'Und diese Zeile ist viel zu lang für das Fenster des Spiels.'
sleep 1
input=$(xdotool search --onlyvisible --name '^Texteingabe$' | head -1)
import -window "$input" -frame "$root/docs/pruefen-beim-tippen.png"
pkill -x zeilwerk; sleep 1

# A whole conversation as flowing text (docs/gespraech.txt, typed), a larger memo: box 1
# without a face, box 4 beside one.
flowing_text() {  # picture, more keys of the section spiel, Bild-ab presses
    printf '[laden]\r\nauto=1\r\ndatei=standard.ini\r\n' >"$work/optn.ini"
    printf '[eingabe]\r\nbreite=120\r\nhoehe=260\r\n[vorschau]\r\naktiv=1\r\naktiv_set=1\r\nscale2x=1\r\nscale2x_set=1\r\n' >"$work/standard.ini"
    printf '[spiel]\r\nordner=%s\r\nsystem=\r\naktiv_set=1\r\naktiv=1\r\nvariable=1250\r\n%s' "$work/Spiel" "$2" >>"$work/standard.ini"
    printf '[fliesstext]\r\naktiv=1\r\nsprecher=1\r\ngleichmaessig=0\r\n' >>"$work/standard.ini"
    (cd "$work" && ./zeilwerk >/dev/null 2>&1 &)
    xdotool search --sync --onlyvisible --name '^Texteingabe$' >/dev/null
    sleep 1
    xdotool type --delay 40 'üö'
    xdotool key BackSpace BackSpace
    xdotool type --delay 20 --file "$root/docs/gespraech.txt"
    xdotool key ctrl+Home
    for ((i = 0; i < $3; i++)); do xdotool key Next; sleep 0.3; done
    sleep 1
    input=$(xdotool search --onlyvisible --name '^Texteingabe$' | head -1)
    preview=$(xdotool search --onlyvisible --name '^Textvorschau$' | head -1)
    import -window "$input" -frame "$work/input.png"
    import -window "$preview" -frame "$work/preview.png"
    /usr/bin/convert "$work/input.png" "$work/preview.png" -background '#2b2b2b' -gravity center -append "$1"
    pkill -x zeilwerk; sleep 1
}
flowing_text "$root/docs/fliesstext.png" "" 0
flowing_text "$root/docs/fliesstext-gesicht.png" $'gesicht=Gesichter\r\ngesicht_nr=2\r\n' 3

# The message window over the demo game, checked, a message chosen: its desktop test drives
# the real program on a screen of its own and keeps the picture.
cmake --build build -j2 --target desktop_tests >/dev/null
QT_QPA_PLATFORM=offscreen ZEILWERK_SCREENSHOTS="$work" \
    build/tests/desktop_tests --gtest_filter='DesktopTest.TheMessageWindow*' >/dev/null
cp "$work/nachrichten.png" "$root/docs/nachrichten.png"

echo "docs/erster-start.png, docs/vorschau-2x.png, docs/spiel.png, docs/spiel-ersatzschrift.png, docs/spiel-bildschirm.png, docs/spiel-2003.png,
    docs/spiel-gesicht-rechts.png, docs/pruefen-beim-tippen.png, docs/fliesstext.png, docs/fliesstext-gesicht.png and docs/nachrichten.png written"
