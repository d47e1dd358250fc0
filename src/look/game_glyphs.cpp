#include "look/game_glyphs.h"

#include "core/game/bitmap_font.h"
#include "core/game/game_fonts.h"
#include "core/game/pe_resources.h"
#include "core/platform/code_page.h"
#include "core/platform/file_io.h"
#include "look/game_picture.h"
#include "look/stand_in_art.h"
#include "platform/paths.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace zeilwerk {

std::array<GlyphMask, 52> symbolsFromSheet(const QImage& sheet) {
    std::array<GlyphMask, 52> symbols;
    for (int i = 0; i < 52; ++i) {
        GlyphMask& mask = symbols[static_cast<size_t>(i)];
        mask.width = 12;
        mask.height = 12;
        const int left = 12 * (i % 13);
        const int top = 12 * (i / 13);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                if (sheet.valid(left + x, top + y) && qAlpha(sheet.pixel(left + x, top + y)) >= 128)
                    mask.rows[static_cast<size_t>(y)] |= static_cast<std::uint16_t>(1u << x);
    }
    return symbols;
}

GameGlyphs::GameGlyphs(const BitmapFont& font, const CodePage& page) {
    for (const auto& [code, glyph] : font.glyphs) {
        GlyphMask mask;
        mask.width = std::min(glyph.width, 16);
        mask.height = std::min(glyph.height, 16);
        for (int y = 0; y < mask.height; ++y)
            for (int x = 0; x < mask.width; ++x)
                if (glyph.at(x, y))
                    mask.rows[static_cast<size_t>(y)] |= static_cast<std::uint16_t>(1u << x);
        if (font.unicode) {
            if (code < 0x10000)
                add(static_cast<char16_t>(code), mask);
        } else if (code < 0x100) {
            const std::u16string unit = page.decode(std::string(1, static_cast<char>(code)));
            if (unit.size() == 1)
                add(unit[0], mask);
        }
    }
}

void GameGlyphs::add(char16_t unit, const GlyphMask& mask) {
    if (m_index.empty())
        m_index.assign(0x10000, 0);
    if (m_index[unit]) {
        m_masks[m_index[unit] - 1u] = mask;
        return;
    }
    m_masks.push_back(mask);
    m_index[unit] = static_cast<std::uint16_t>(m_masks.size());
}

namespace {

// The database's font slot, filled as the Western engine fills it.
QString fontFamilyOfSlot(int slot) {
    return slot == 1 ? QStringLiteral("RM2000") : QStringLiteral("RMG2000");
}

QString sourceName(FontSource source) {
    switch (source) {
    case FontSource::GameFolder: return QStringLiteral("Spielordner");
    case FontSource::WindowsFonts: return QStringLiteral("Windows-Schriften");
    case FontSource::SystemFonts: return QStringLiteral("Systemschriften");
    case FontSource::Fallback: return QStringLiteral("Ersatzschrift");
    }
    return QString();
}

}  // namespace

GameFont loadGameFont(const fs::path& gameFolder, int fontSlot, const FontPlaces& fonts, const CodePage& page,
                      std::vector<QString>* problems) {
    GameFont out;
    const QString family = fontFamilyOfSlot(fontSlot);
    std::vector<std::string> notes;
    if (std::optional<FoundFont> found = findBitmapFont(gameFolder, family.toStdString(), fonts, &notes)) {
        out.glyphs = GameGlyphs(found->font, page);
        // The fallback calls itself "Gothic" inside, which would pass for MS Gothic.
        out.name = QStringLiteral("%1 (%2)").arg(
            found->source == FontSource::Fallback ? QStringLiteral("Shinonome 6 × 12") : family, sourceName(found->source));
    } else {
        out.name = QStringLiteral("keine");
        if (problems)
            problems->push_back(QStringLiteral("Keine Schrift für „%1“ gefunden, auch die Ersatzschrift nicht.").arg(family));
    }
    if (problems)
        for (const std::string& note : notes)
            problems->push_back(QString::fromStdString(note));
    return out;
}

std::array<GlyphMask, 52> loadGameSymbols(const fs::path& gameFolder, std::vector<QString>* problems) {
    for (const char* name : {"ExFont.png", "ExFont.bmp"}) {
        if (const std::optional<fs::path> file = findIgnoringCase(gameFolder, name)) {
            try {
                return symbolsFromSheet(readGamePictureAsStored(*file));
            } catch (const std::exception& e) {
                if (problems)
                    problems->push_back(QStringLiteral("%1: %2").arg(textFromPath(*file), QString::fromUtf8(e.what())));
            }
        }
    }
    if (const std::optional<fs::path> exe = findIgnoringCase(gameFolder, "RPG_RT.exe")) {
        try {
            const std::string bytes = readRegularFile(*exe, 64 * 1024 * 1024);
            if (const std::optional<std::string> dib = readPeBitmap(bytes, u"EXFONT")) {
                const std::string file = bitmapFileFromDib(*dib);
                QImage sheet;
                if (sheet.loadFromData(reinterpret_cast<const uchar*>(file.data()), static_cast<int>(file.size()), "BMP"))
                    return symbolsFromSheet(withFirstColourUndrawn(sheet));
            }
        } catch (const std::exception& e) {
            if (problems)
                problems->push_back(QStringLiteral("%1: %2").arg(textFromPath(*exe), QString::fromUtf8(e.what())));
        }
    }
    return ownSymbols();
}

}  // namespace zeilwerk
