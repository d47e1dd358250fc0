#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <string_view>

namespace zeilwerk {

class CodePage;

// The installed font families as the program sees them: Qt's families, "Default" for the
// user-interface font, and the Windows families Zeilwerk names by default where a twin is
// installed in their place.
class FontList {
public:
    // Adds Wine's Tahoma and Fixedsys to the application and maps "MS Mincho" to IPAMincho;
    // then reads the list. Needs the QApplication.
    static FontList installed();
    explicit FontList(QStringList families) : m_families(std::move(families)) {}

    // Case-insensitive: "FixedSys" is installed when "Fixedsys" is.
    bool contains(const QString& family) const;
    const QStringList& families() const { return m_families; }

private:
    QStringList m_families;
};

// A font given as Windows gives it: a family and a size in points at 96 dots per inch,
// so window layouts are the same on every screen. "Default" is the user-interface font.
QFont windowsFont(const QString& family, int points);

// Pixels of a size in points at 96 dots per inch, rounded as Windows rounds; capped so a
// huge size stays drawable.
int pointsToPixels(std::int64_t points);
inline constexpr int maxFontPixels = 1024;

// The characters of the code page's single bytes that a font must show: all but the controls.
std::u16string codePageCharacters(const CodePage& page);
// The characters of text that the font leaves out or draws as the box it draws where it has
// no form (Wine's Fixedsys does that for €, „, ™ and the rest of 0x80 to 0x9F).
std::u16string charactersNotShown(const QFont& font, std::u16string_view text);

// The font of text the user types: windowsFont(family, points), or, where that family draws a
// character of the code page as a box, a monospace family that shows them all; what the family
// merely lacks comes from that family too.
QFont typingFont(const QString& family, int points, const CodePage& page);

}  // namespace zeilwerk
