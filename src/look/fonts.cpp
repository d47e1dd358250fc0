#include "look/fonts.h"

#include "core/platform/code_page.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QRawFont>

#include <algorithm>

namespace zeilwerk {
namespace {

// Where Debian's fonts-wine puts Wine's own fonts, which fontconfig does not look at; and
// the folder "fonts" beside the program, where the Windows build brings the twins of the
// bitmap fonts Qt cannot draw there.
const char* const wineFontFolders[] = {"/usr/share/wine/fonts", "/usr/lib/wine/fonts", nullptr};
const char* const wineFontFiles[] = {"tahoma.ttf", "tahomabd.ttf", "fixedsys.ttf", "ipam.ttf", "DejaVuSansMono.ttf"};

struct Twin {
    const char* windowsFamily;
    const char* installedFamily;
};
// Qt draws no raster font on Windows, so Fixedsys is missing there and a plain monospace
// stands in; on Linux Wine's outline-free copy of it serves, but not for typing (typingFont).
const Twin twins[] = {{"MS Mincho", "IPAMincho"}, {"Fixedsys", "DejaVu Sans Mono"}};

bool containsFamily(const QStringList& families, const QString& family) {
    return std::any_of(families.begin(), families.end(),
                       [&](const QString& f) { return f.compare(family, Qt::CaseInsensitive) == 0; });
}

// The monospace family that stands in where a font cannot show the code page.
QString monospaceFallback() {
    const QString dejaVu = QStringLiteral("DejaVu Sans Mono");
    if (containsFamily(QFontDatabase::families(), dejaVu))
        return dejaVu;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace

FontList FontList::installed() {
    for (const char* folder : wineFontFolders)
        for (const char* file : wineFontFiles) {
            const QString base = folder ? QString::fromLatin1(folder) : QCoreApplication::applicationDirPath() + QStringLiteral("/fonts");
            const QString path = base + u'/' + QString::fromLatin1(file);
            if (QFileInfo::exists(path))
                QFontDatabase::addApplicationFont(path);
        }

    QStringList families = QFontDatabase::families();
    for (const Twin& twin : twins) {
        const QString windows = QString::fromLatin1(twin.windowsFamily);
        const QString installed = QString::fromLatin1(twin.installedFamily);
        if (!containsFamily(families, windows) && containsFamily(families, installed)) {
            QFont::insertSubstitution(windows, installed);
            families << windows;
        }
    }
    families << QStringLiteral("Default");
    return FontList(families);
}

bool FontList::contains(const QString& family) const {
    return containsFamily(m_families, family);
}

int pointsToPixels(std::int64_t points) {
    const std::int64_t pixels = (points * 96 + 36) / 72;
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, maxFontPixels));
}

QFont windowsFont(const QString& family, int points) {
    QFont font = family.compare(u"Default", Qt::CaseInsensitive) == 0 ? QGuiApplication::font() : QFont(family);
    int pixels = pointsToPixels(points);
    // A bitmap-only family (Fixedsys) has a few sizes: take the nearest, as Windows does.
    const QString resolved = QFontInfo(font).family();
    if (!QFontDatabase::isScalable(resolved)) {
        const QList<int> sizes = QFontDatabase::pointSizes(resolved);
        if (!sizes.isEmpty()) {
            int best = sizes.front();
            for (int s : sizes)
                if (std::abs(pointsToPixels(s) - pixels) < std::abs(pointsToPixels(best) - pixels))
                    best = s;
            pixels = pointsToPixels(best);
        }
    }
    font.setPixelSize(pixels);
    return font;
}

std::u16string codePageCharacters(const CodePage& page) {
    std::u16string characters;
    for (int byte = 0x20; byte < 0x100; ++byte) {
        const std::u16string one = page.decode(std::string(1, static_cast<char>(byte)));
        // A byte the page leaves undefined decodes to a control; a lead byte is no character.
        if (one.size() != 1 || one[0] < 0x20 || (one[0] >= 0x7F && one[0] <= 0x9F) || page.byteLength(one[0]) != 1)
            continue;
        characters += one[0];
    }
    return characters;
}

std::u16string charactersNotShown(const QFont& font, std::u16string_view text) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return std::u16string(text);
    const auto picture = [&](quint32 glyph) { return raw.alphaMapForGlyph(glyph, QRawFont::PixelAntialiasing); };
    // What the font draws where it has nothing: its missing glyph, and its glyph for DEL.
    const QImage missingGlyph = picture(0);
    const quint32 del = raw.glyphIndexesForString(QString(QChar(0x7F))).value(0);
    const QImage delGlyph = del != 0 ? picture(del) : QImage();
    std::u16string notShown;
    for (const char16_t c : text) {
        const quint32 glyph = raw.supportsCharacter(QChar(c)) ? raw.glyphIndexesForString(QString(QChar(c))).value(0) : 0;
        const QImage drawn = glyph != 0 ? picture(glyph) : QImage();
        const bool standIn = !drawn.isNull() && ((!missingGlyph.isNull() && drawn == missingGlyph) ||
                                                 (!delGlyph.isNull() && drawn == delGlyph));
        if (glyph == 0 || standIn)
            notShown += c;
    }
    return notShown;
}

QFont typingFont(const QString& family, int points, const CodePage& page) {
    QFont font = windowsFont(family, points);
    const std::u16string notShown = charactersNotShown(font, codePageCharacters(page));
    if (notShown.empty())
        return font;
    const QString fallback = monospaceFallback();
    // A box the font claims as the character hides any fallback behind it: the whole font goes.
    const QRawFont raw = QRawFont::fromFont(font);
    if (std::any_of(notShown.begin(), notShown.end(), [&](char16_t c) { return raw.supportsCharacter(QChar(c)); })) {
        // At the size the family would have drawn, so the lines keep their height.
        QFont replacement = windowsFont(fallback, points);
        replacement.setPixelSize(font.pixelSize());
        return replacement;
    }
    font.setFamilies({font.family(), fallback});
    return font;
}

}  // namespace zeilwerk
