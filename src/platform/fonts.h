#pragma once

#include <QFont>
#include <cstdint>
#include <QString>
#include <QStringList>

namespace zeilwerk {

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

}  // namespace zeilwerk
