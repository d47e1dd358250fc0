// What one keystroke costs: the whole rendering of four lines, with and without 2x, in
// the program's own look and in a game's.

#include "core/game/message_timeline.h"
#include "core/platform/code_page.h"
#include "look/fonts.h"
#include "look/game_look.h"
#include "look/game_picture.h"
#include "look/game_rendering.h"
#include "look/stand_in_art.h"
#include "look/window_art.h"
#include "widgets/messages.h"
#include "windows/preview/preview_renderer.h"
#include "windows/preview/preview_window.h"
#include "windows/windows.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

using namespace zeilwerk;

// Four typical lines, colouring on; each round types one more character into the second
// line (and starts it over after 24), as a keystroke does.
// A game's look as a System graphic of ours gives it: every part in a colour of its own.
GameLook benchGameLook() {
    QImage system(160, 80, QImage::Format_ARGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 160; ++x)
            system.setPixel(x, y, engineColour(qRgb(x, y * 3, (x + y) & 0xFF)));
    GameLook look;
    look.window = drawGameWindow(system, false);
    look.bareWindow = drawGameFrame(system, false).convertToFormat(QImage::Format_RGB32);
    look.system = system;
    look.shadow = qRgb(0, 0, 0);
    // Every character a 5 × 11 block: more ink than any real glyph has.
    GlyphMask block;
    block.width = 6;
    block.height = 13;
    for (int y = 1; y < 12; ++y)
        block.rows[static_cast<size_t>(y)] = 0x1F;
    for (char16_t c = 0x21; c < 0x100; ++c)
        look.font.add(c, block);
    look.symbols = ownSymbols();
    look.heroNames = {{1, u"Alex"}, {3, u"Brünhild"}};
    return look;
}

void render(benchmark::State& state, bool scale2x, bool game = false) {
    BoxMessages messages;
    const FontList fonts = FontList::installed();
    const Platform platform{&messages, &fonts, nullptr, nullptr, ".", {}, {}};
    Windows windows;
    TForm3 preview(platform, windows);
    QImage colours(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            colours.setPixel(x, y, qRgb(200 - 8 * y, 200, 255 - x));
    preview.TileBmp(colours);
    QImage box(320, 80, QImage::Format_RGB32);
    box.fill(qRgb(255, 0, 255));
    for (int y = 2; y < 78; ++y)
        for (int x = 2; x < 318; ++x)
            box.setPixel(x, y, qRgb(20, 30, 120));
    preview.boxme.setPicture(box, qRgb(255, 0, 255));
    preview.setPreviewFont(QStringLiteral("MS Mincho"));

    RenderSettings settings;
    settings.lineLength = QStringLiteral("50");
    settings.alignment = QStringLiteral("1");
    settings.scale2x = scale2x;
    const GameLook look = benchGameLook();
    if (game)
        settings.game = &look;
    preview.setPreviewScale(scale2x);
    const std::u16string typed = u"Ich habe \\v[12] Goldstücke gefunden.";
    std::array<std::u16string, 4> lines = {
        u"\\c[2]Hallo Welt!\\. Wie geht es dir, \\n[1]?", u"",
        u"\\s[5]Das ist \\>sofort\\< zu sehen.\\|", u"Äußerst wichtige Grüße von \\n[\\v[3]]."};
    size_t keystroke = 0;
    for (auto _ : state) {
        lines[1] = typed.substr(0, 12 + keystroke++ % 24);
        renderPreview(preview, lines, settings, nullptr);
    }
}

void render_1x(benchmark::State& state) {
    render(state, false);
}
BENCHMARK(render_1x)->Unit(benchmark::kMicrosecond);

void render_2x(benchmark::State& state) {
    render(state, true);
}
BENCHMARK(render_2x)->Unit(benchmark::kMicrosecond);

void render_game_1x(benchmark::State& state) {
    render(state, false, true);
}
BENCHMARK(render_game_1x)->Unit(benchmark::kMicrosecond);

void render_game_2x(benchmark::State& state) {
    render(state, true, true);
}
BENCHMARK(render_game_2x)->Unit(benchmark::kMicrosecond);

// One frame of play at 2x in the game's look: the message up to its middle, the arrow off.
void play_game_2x(benchmark::State& state) {
    BoxMessages messages;
    const FontList fonts = FontList::installed();
    const Platform platform{&messages, &fonts, nullptr, nullptr, ".", {}, {}};
    Windows windows;
    TForm3 preview(platform, windows);
    RenderSettings settings;
    settings.lineLength = QStringLiteral("50");
    settings.alignment = QStringLiteral("1");
    settings.scale2x = true;
    const GameLook look = benchGameLook();
    settings.game = &look;
    const std::array<std::u16string, 4> lines = {u"\\c[2]Hallo Welt!\\. Wie geht es dir, \\n[1]?",
                                                 u"Ich habe \\v[12] Goldst\u00fccke gefunden.",
                                                 u"\\s[5]Das ist \\>sofort\\< zu sehen.\\|",
                                                 u"\u00c4u\u00dferst wichtige Gr\u00fc\u00dfe von \\n[\\v[3]]."};
    const MessageTimeline timeline = messageTimeline(gameMessageText(look, lines, settings), CodePage::system());
    QImage picture;
    std::size_t shown = 0;
    for (auto _ : state) {
        // What the player does on a frame that shows one piece more.
        shown = shown % timeline.pieces + 1;
        const GameMessageFrame frame{shown, &look.bareWindow};
        drawGameMessage(look, lines, settings, nullptr, picture, &frame);
        preview.showGameLook(picture, true);
    }
}
BENCHMARK(play_game_2x)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
