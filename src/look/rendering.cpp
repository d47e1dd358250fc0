#include "look/rendering.h"

#include "core/message/layout.h"
#include "core/message/scanner.h"
#include "core/platform/code_page.h"
#include "core/platform/number.h"
#include "look/fonts.h"
#include "look/line_geometry.h"
#include "platform/qt_text.h"

namespace zeilwerk {
namespace {

constexpr int previewPoints = 9;

}  // namespace

QFont previewTextFont(const QString& family) {
    QFont font = windowsFont(family, previewPoints);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

std::optional<PreviewLine> layOutLine(const std::u16string& line, int index, const RenderSettings& settings,
                                      int ascent, TraceSink* trace) {
    return layOutVisible(visibleText(line, trace), index, settings, ascent);
}

std::optional<PreviewLine> layOutVisible(const std::u16string& visible, int index, const RenderSettings& settings,
                                         int ascent) {
    const std::int32_t length = strToInt(toU16(settings.lineLength));
    const std::u16string cut = cutText(visible, length);
    const int n = halfWidthCells(cut, CodePage::system());
    const int spaces = leadingSpaces(n, length, n >= 1 ? strToInt(toU16(settings.alignment)) : 0);
    if (cut.empty())
        return std::nullopt;
    const QString text =
        QString(spaces, u' ') + QString::fromUtf16(cut.data(), static_cast<qsizetype>(cut.size()));
    return PreviewLine{text, QPoint(textLeft(settings.lineLength == u"38"), lineTop(index) + ascent), spaces};
}

}  // namespace zeilwerk
