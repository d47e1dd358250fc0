#pragma once

#include "core/game/game_message.h"

#include <QImage>

#include <array>
#include <cstddef>
#include <string>

namespace zeilwerk {

struct GameLook;
struct RenderSettings;
class TraceSink;

// The message as the game's engine draws it into picture, 320 × 80: its window, then each
// glyph's shadow one pixel right and below and the glyph over it in its colour, clipped to
// the box's inside. The lines stand as the export types them, indent included. Throws for
// an alignment or line length that is no number, with the window drawn.
// A frame of the message played: only its first pieces, in a box drawn otherwise (the
// arrow blinking off).
struct GameMessageFrame {
    std::size_t shown = 0;
    const QImage* window = nullptr;  // instead of the look's; null for the look's
};

void drawGameMessage(const GameLook& look, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                     TraceSink* trace, QImage& picture, const GameMessageFrame* frame = nullptr);

// The message as the engine reads it: the lines, their indents as the export gives them,
// the heroes' names, the sample value and where the text starts. Throws as drawGameMessage.
GameMessageText gameMessageText(const GameLook& look, const std::array<std::u16string, 4>& lines,
                                const RenderSettings& settings);

// Each pixel of source as a 2 × 2 block of target, which is made twice its size.
void doublePicture(const QImage& source, QImage& target);

}  // namespace zeilwerk
