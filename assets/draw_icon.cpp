// Draws Zeilwerk's own program icon: a dark blue message box with three lines of text, one
// of them coloured, and a cursor. Writes zeilwerk.svg and zeilwerk-<size>.png into the
// folder given, both from the one list of shapes below.

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

namespace {

// In a 64 × 64 square.
struct Shape {
    QRectF rect;
    double radius;
    const char* fill;
    const char* stroke;  // nullptr for none
};

const Shape shapes[] = {
    {{4, 10, 56, 44}, 6, "#1e2a78", "#e8e8f0"},
    {{12, 20, 30, 4}, 1, "#ffffff", nullptr},
    {{12, 29, 38, 4}, 1, "#ff6060", nullptr},
    {{12, 38, 24, 4}, 1, "#ffffff", nullptr},
    {{40, 36, 2, 8}, 0, "#ffd040", nullptr},
};
constexpr double strokeWidth = 2;

QString svg() {
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                                 "viewBox=\"0 0 64 64\">\n");
    for (const Shape& s : shapes) {
        out += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"")
                   .arg(s.rect.x()).arg(s.rect.y()).arg(s.rect.width()).arg(s.rect.height()).arg(s.radius)
                   .arg(QString::fromLatin1(s.fill));
        if (s.stroke)
            out += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"").arg(QString::fromLatin1(s.stroke)).arg(strokeWidth);
        out += QStringLiteral("/>\n");
    }
    return out + QStringLiteral("</svg>\n");
}

QImage png(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    for (const Shape& s : shapes) {
        painter.setBrush(QColor(QString::fromLatin1(s.fill)));
        painter.setPen(s.stroke ? QPen(QColor(QString::fromLatin1(s.stroke)), strokeWidth) : QPen(Qt::NoPen));
        painter.drawRoundedRect(s.rect, s.radius, s.radius);
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_icon <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QFile file(folder + QStringLiteral("/zeilwerk.svg"));
    bool ok = file.open(QIODevice::WriteOnly) && file.write(svg().toUtf8()) > 0;
    for (const int size : {16, 32, 48, 64, 128, 256})
        ok = png(size).save(folder + QStringLiteral("/zeilwerk-%1.png").arg(size)) && ok;
    if (!ok) {
        std::fprintf(stderr, "draw_icon: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
