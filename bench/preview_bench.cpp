// What one keystroke costs: the whole rendering of four lines, with and without 2x.

#include "preview/preview_window.h"
#include "preview/rendering.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "app/windows.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

using namespace zeilwerk;

void renderMessage(benchmark::State& state) {
    BoxMessages messages;
    const FontList fonts = FontList::installed();
    const Platform platform{&messages, &fonts, nullptr, "."};
    Windows windows;
    TForm3 preview(platform, windows);
    QImage colours(16, 16, QImage::Format_RGB32);
    colours.fill(qRgb(200, 200, 255));
    preview.TileBmp(colours);
    QImage box(320, 80, QImage::Format_RGB32);
    box.fill(qRgb(20, 30, 120));
    preview.boxme.setPicture(box, qRgb(255, 0, 255));
    preview.setPreviewFont(QStringLiteral("MS Mincho"));

    RenderSettings settings;
    settings.lineLength = QStringLiteral("50");
    settings.alignment = QStringLiteral("1");
    settings.scale2x = state.range(0) != 0;
    const std::array<std::u16string, 4> lines = {
        u"\\c[2]Hallo Welt!\\. Wie geht es dir, \\n[1]?", u"Ich habe \\v[12] Goldstücke gefunden.",
        u"\\s[5]Das ist \\>sofort\\< zu sehen.\\|", u"Äußerst wichtige Grüße von \\n[\\v[3]]."};
    for (auto _ : state)
        renderPreview(preview, lines, settings, nullptr);
}
BENCHMARK(renderMessage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
