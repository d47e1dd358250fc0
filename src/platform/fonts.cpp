#include "platform/fonts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

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
// stands in; on Linux Wine's outline-free copy of it serves.
const Twin twins[] = {{"MS Mincho", "IPAMincho"}, {"Fixedsys", "DejaVu Sans Mono"}};

bool containsFamily(const QStringList& families, const QString& family) {
    return std::any_of(families.begin(), families.end(),
                       [&](const QString& f) { return f.compare(family, Qt::CaseInsensitive) == 0; });
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

}  // namespace zeilwerk
