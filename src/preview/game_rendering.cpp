#include "game/game_look.h"
#include "message/scanner.h"
#include "preview/rendering.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <exception>
#include <utility>

namespace zeilwerk {
namespace {

// A code's argument as a plain number, or nothing for "\v[..]", an empty or other text.
std::optional<int> plainNumber(std::u16string_view argument) {
    if (argument.empty() || argument.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char16_t c : argument) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

constexpr int kColours = 20;
constexpr int kCell = 16;

}  // namespace

GameText gameText(const std::u16string& line, const std::map<int, std::u16string>& heroNames, int startColour,
                  TraceSink* trace) {
    std::vector<CodeMark> codes;
    const std::u16string visible = visibleText(line, trace, &codes);
    GameText out;
    int colour = startColour;
    size_t from = 0;
    const auto copyUpTo = [&](size_t to) {
        out.text.append(visible, from, to - from);
        out.colours.insert(out.colours.end(), to - from, colour);
        from = to;
    };
    for (const CodeMark& code : codes) {
        copyUpTo(code.at);
        const std::optional<int> n = plainNumber(code.argument);
        if (code.letter == u'c') {
            colour = n && *n < kColours ? *n : 0;
        } else if (n) {
            if (const auto name = heroNames.find(*n); name != heroNames.end()) {
                out.text += name->second;
                out.colours.insert(out.colours.end(), name->second.size(), colour);
            }
        }
    }
    copyUpTo(visible.size());
    out.endColour = colour;
    return out;
}

void drawGameMessage(const GameLook& look, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                     const QFont& font, TraceSink* trace, QImage& picture) {
    picture = look.window.convertToFormat(QImage::Format_RGB32);
    const QFontMetrics metrics(font);
    const QSize size = picture.size();
    QImage glyphs(size, QImage::Format_ARGB32_Premultiplied);
    int colour = 0;  // the message starts in colour 0 and carries it from line to line
    for (size_t i = 0; i < lines.size(); ++i) {
        const GameText text = gameText(lines[i], look.heroNames, colour, trace);
        colour = text.endColour;
        const std::optional<PreviewLine> laid =
            layOutVisible(text.text, static_cast<int>(i), settings, metrics.ascent());
        if (!laid)
            continue;
        // Only a band around the baseline can hold the line's glyphs, as for today's lines.
        const int bandTop = std::max(0, laid->origin.y() - metrics.ascent() - metrics.height());
        const int bandBottom = std::min(size.height(), laid->origin.y() + metrics.descent() + metrics.height());
        for (int y = bandTop; y < bandBottom; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(glyphs.scanLine(y)), size.width(), QRgb(0));
        {
            QPainter painter(&glyphs);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(laid->origin, laid->text);
        }
        // Each pixel column belongs to the character whose advance it lies in.
        std::vector<int> columnColour(static_cast<size_t>(size.width()), 0);
        int x = laid->origin.x();
        for (qsizetype k = 0; k < laid->text.size(); ++k) {
            const int c = k < laid->indent ? 0 : text.colours[static_cast<size_t>(k - laid->indent)];
            const int next = x + metrics.horizontalAdvance(laid->text.mid(k, 1));
            for (int col = std::max(0, x); col < std::min(size.width(), next); ++col)
                columnColour[static_cast<size_t>(col)] = c;
            if (k + 1 == laid->text.size())
                for (int col = std::max(0, next); col < size.width(); ++col)
                    columnColour[static_cast<size_t>(col)] = c;
            x = next;
        }
        // The shadow first, then the glyphs over it; cell row r lies under glyph row r of the line.
        const int width = size.width();
        for (int y = bandTop + 1; y < std::min(size.height(), bandBottom + 1); ++y) {
            const auto* above = reinterpret_cast<const QRgb*>(std::as_const(glyphs).scanLine(y - 1));
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int gx = 1; gx < width; ++gx)
                if (qAlpha(above[gx - 1]))
                    row[gx] = look.shadow;
        }
        const int top = 16 * static_cast<int>(i) + 8;
        for (int y = bandTop; y < bandBottom; ++y) {
            const auto* glyph = reinterpret_cast<const QRgb*>(std::as_const(glyphs).scanLine(y));
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            const int cellRow = ((y - top) % kCell + kCell) % kCell;
            for (int gx = 0; gx < width; ++gx) {
                if (!qAlpha(glyph[gx]))
                    continue;
                const QImage& cell = look.colours[static_cast<size_t>(columnColour[static_cast<size_t>(gx)])];
                const int cellColumn = ((gx - 8) % kCell + kCell) % kCell;
                row[gx] = reinterpret_cast<const QRgb*>(cell.constScanLine(cellRow))[cellColumn] | 0xFF000000;
            }
        }
    }
}

}  // namespace zeilwerk
