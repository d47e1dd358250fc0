#include "look/game_rendering.h"

#include "core/game/game_message.h"
#include "core/maker/export_text.h"
#include "core/message/scanner.h"
#include "core/platform/code_page.h"
#include "look/game_look.h"
#include "look/line_geometry.h"
#include "look/rendering.h"
#include "platform/qt_text.h"

#include <algorithm>
#include <cstring>

namespace zeilwerk {

namespace {

// The face over the text, which may run under a face on the right.
void drawFace(const GameLook& look, int boxTop, QImage& picture) {
    for (int y = 0; y < look.face.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(look.face.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(boxTop + look.facePoint.y() + y)) + look.facePoint.x();
        for (int x = 0; x < look.face.width(); ++x)
            if (qAlpha(from[x]))
                row[x] = from[x] | 0xFF000000;
    }
}

}  // namespace

GameMessageText gameMessageText(const GameLook& look, const std::array<std::u16string, 4>& lines,
                                const RenderSettings& settings) {
    const ExportShape shape = exportShape(lines, toU16(settings.alignment), toU16(settings.lineLength));
    GameMessageText message;
    message.lines = lines;
    for (size_t i = 0; i < 4; ++i)
        message.indents[i] = exportIndent(lines[i], shape);
    message.heroNames = &look.heroNames;
    message.variable = settings.variable;
    message.left = gameTextLeft(settings.lineLength == u"38" || look.faceOnLeft);
    message.right = gameTextRight(!look.face.isNull() && !look.faceOnLeft);
    // The lines the message has: the box's empty last lines are none of the Maker's.
    message.lineCount = 4;
    while (message.lineCount > 0 && lines[static_cast<size_t>(message.lineCount - 1)].empty())
        --message.lineCount;
    return message;
}

void drawGameMessage(const GameLook& look, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                     TraceSink* trace, QImage& picture, const GameMessageFrame* frame) {
    // The box alone, or the whole screen with the box where the message stands.
    const QImage& window = frame && frame->window ? *frame->window : look.window;
    const QSize size = look.wholeScreen ? look.screen.size() : window.size();
    const int boxTop = look.wholeScreen ? look.boxTop : 0;
    if (picture.size() != size || picture.format() != QImage::Format_RGB32)
        picture = QImage(size, QImage::Format_RGB32);
    const auto rowBytes = static_cast<size_t>(window.width()) * sizeof(QRgb);
    for (int y = 0; y < size.height(); ++y) {
        const bool inBox = y >= boxTop && y < boxTop + window.height();
        std::memcpy(picture.scanLine(y), inBox ? window.constScanLine(y - boxTop) : look.screen.constScanLine(y), rowBytes);
    }
    // The Debugger's trace reads the lines as the Maker's preview does.
    if (trace && trace->tracing())
        for (const std::u16string& line : lines)
            visibleText(line, trace);

    const GameMessageText message = gameMessageText(look, lines, settings);
    std::vector<GamePiece> pieces = layOutGameMessage(message, CodePage::system());
    if (frame)
        pieces.resize(std::min(pieces.size(), frame->shown));

    const int clipLeft = kGameBorder;
    const int clipRight = window.width() - kGameBorder;
    const int clipTop = boxTop + kGameBorder;
    const int clipBottom = boxTop + window.height() - kGameBorder;
    const QImage& system = look.system;
    const int systemRight = system.width() - 1;
    const int systemBottom = system.height() - 1;
    for (const GamePiece& piece : pieces) {
        // A cell that does not end by the line's right edge is left out whole.
        if (piece.x + piece.width > message.right)
            continue;
        const GlyphMask* mask = piece.kind == GamePiece::Kind::Symbol ? &look.symbols[piece.code % 52u]
                                                                        : look.font.of(piece.code);
        if (!mask)
            continue;
        const int left = piece.x;
        const int top = boxTop + gameLineTop(piece.line);
        const int cellX = gameColourX(piece.colour);
        const int cellY = gameColourY(piece.colour);
        for (int gy = 0; gy < std::min(mask->height, kGameGlyphRows); ++gy) {
            const std::uint16_t bits = mask->rows[static_cast<size_t>(gy)];
            if (!bits)
                continue;
            if (look.shadow) {
                const int y = top + gy + 1;
                if (y >= clipTop && y < clipBottom) {
                    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
                    for (int gx = 0; gx < mask->width; ++gx) {
                        const int x = left + gx + 1;
                        if ((bits >> gx & 1) && x >= clipLeft && x < clipRight)
                            row[x] = *look.shadow;
                    }
                }
            }
            const int y = top + gy;
            if (y < clipTop || y >= clipBottom)
                continue;
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            const auto* colours = reinterpret_cast<const QRgb*>(system.constScanLine(std::min(cellY + gy, systemBottom)));
            // Ink of palette index 0 is the engine's transparent colour: it clears the text
            // drawn there, shadows too, and the window shows through.
            const auto* behind = reinterpret_cast<const QRgb*>(window.constScanLine(y - boxTop));
            for (int gx = 0; gx < mask->width; ++gx) {
                const int x = left + gx;
                if ((bits >> gx & 1) && x >= clipLeft && x < clipRight) {
                    const QRgb colour = colours[std::min(cellX + gx, systemRight)];
                    row[x] = qAlpha(colour) ? colour | 0xFF000000 : behind[x];
                }
            }
        }
    }
    if (!look.face.isNull())
        drawFace(look, boxTop, picture);
}

void doublePicture(const QImage& source, QImage& target) {
    const QSize size = source.size() * 2;
    if (target.size() != size || target.format() != QImage::Format_RGB32)
        target = QImage(size, QImage::Format_RGB32);
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(2 * y));
        for (int x = 0; x < width; ++x)
            to[2 * x] = to[2 * x + 1] = from[x];
        std::memcpy(target.scanLine(2 * y + 1), to, static_cast<size_t>(size.width()) * sizeof(QRgb));
    }
}

}  // namespace zeilwerk
