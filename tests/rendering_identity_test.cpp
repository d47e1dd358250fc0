// The rendering takes short cuts: lines drawn once and kept, rows redone only where they
// changed, the text box enlarged once. Here every layer is compared, after every step of a
// long random session, with the straightforward composition drawn from scratch.

#include "program_fixture.h"

#include "core/platform/error.h"
#include "look/rendering.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace zeilwerk::test {
namespace {

// What is shown of a picture: its own size, the key colour clear, brought to the layer's size.
QImage shownOf(const QImage& picture, QRgb key, QSize size) {
    QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if ((shown.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF))
                shown.setPixel(x, y, 0);
    return shown.size() == size ? shown : shown.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void enlargeOnto(QImage& target, const QImage& source, QRgb key) {
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) {
            const QRgb p = source.pixel(int(std::int64_t(x) * source.width() / target.width()),
                                        int(std::int64_t(y) * source.height() / target.height()));
            if ((p & 0xFFFFFF) != (key & 0xFFFFFF))
                target.setPixel(x, y, p);
        }
}

// Where two pictures differ first, for the failure message; empty when they are equal.
std::string difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format())
        return "size or format differs";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 instead of %4")
                    .arg(x).arg(y).arg(a.pixel(x, y), 8, 16).arg(b.pixel(x, y), 8, 16).toStdString();
    return {};
}

QRgb keyOf(const Layer& layer, const QImage& picture) {
    return layer.setTransparent() ? *layer.setTransparent() : picture.pixel(0, picture.height() - 1) | 0xFF000000;
}

class RenderingIdentityTest : public PreviewProgramTest {
protected:

    QImage randomPicture(QSize size) {
        QImage picture(size, QImage::Format_RGB32);
        const QRgb colours[] = {qRgb(255, 0, 255), qRgb(20, 30, 120), qRgb(255, 255, 255), qRgb(0, 0, 0),
                                qRgb(200, 100, 50)};
        picture.fill(colours[random() % 5]);
        QPainter painter(&picture);
        for (int i = 0; i < 6; ++i)
            painter.fillRect(int(random() % size.width()), int(random() % size.height()), int(random() % 200),
                             int(random() % 60), QColor::fromRgb(colours[random() % 5]));
        return picture;
    }

    void step(std::array<std::u16string, 4>& lines, RenderSettings& settings) {
        static const std::u16string pieces[] = {u"a", u"Ä", u" ", u"\\c[2]", u"\\v[12]", u"\\_", u"\\\\", u"日本",
                                                u"W", u"\\.", u"€", u"g", u"\\n[\\v[3]]", u"xyz"};
        const QSize boxSizes[] = {{320, 80}, {640, 160}, {100, 30}, {1, 1}, {333, 77}};
        switch (random() % 20) {
        case 0: settings.lineLength = QString::number(std::array{50, 38, 20, 0, 7}[random() % 5]); break;
        case 1: settings.alignment = random() % 8 ? QString::number(random() % 4) : QStringLiteral("x"); break;
        case 2: settings.plain = !settings.plain; break;
        case 3:
            settings.scale2x = !settings.scale2x;
            preview->setPreviewScale(settings.scale2x);
            break;
        case 4: preview->boxme.setPicture(randomPicture(boxSizes[random() % 5]), std::nullopt); break;
        case 5: preview->boxme.setTransparentColour(random() % 2 ? qRgb(255, 0, 255) : qRgb(20, 30, 120)); break;
        case 6: preview->TileBmp(randomPicture(QSize(1 + int(random() % 40), 1 + int(random() % 20)))); break;
        case 7: preview->setPreviewFont(random() % 2 ? QStringLiteral("MS Mincho") : QStringLiteral("Default")); break;
        case 8: preview->scale2x.picture().setPixel(int(random() % 640), int(random() % 160), qRgb(1, 2, 3)); break;
        default: {
            std::u16string& line = lines[random() % 4];
            if (random() % 4 == 0 && !line.empty())
                line.erase(random() % line.size(), 1);
            else
                line.insert(line.empty() ? 0 : random() % (line.size() + 1), pieces[random() % 14]);
        }
        }
    }

    std::mt19937 random{20261208};
};

TEST_F(RenderingIdentityTest, EveryLayerIsWhatDrawingFromScratchGives) {
    std::array<std::u16string, 4> lines = {u"\\c[2]Hallo Welt!", u"", u"Zweite \\v[1] Zeile", u""};
    RenderSettings settings;
    settings.lineLength = QStringLiteral("50");
    settings.alignment = QStringLiteral("1");
    for (int round = 0; round < 400; ++round) {
        step(lines, settings);
        const QImage colours = preview->cala.picture().copy();
        const QImage box = preview->boxme.picture().copy();
        const QRgb boxKey = preview->boxme.transparentColour();
        QImage doubled = preview->scale2x.picture().copy();
        const QImage resultBefore = preview->desti.picture().copy();
        bool thrown = false;
        try {
            renderPreview(*preview, lines, settings, nullptr);
        } catch (const Error&) {
            thrown = true;
        }

        QImage canvas(320, 80, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            const QFont font = previewTextFont(preview->previewFont());
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setBackground(Qt::white);
            try {
                for (int i = 0; i < 4; ++i)
                    if (const auto line = layOutLine(lines[i], i, settings, QFontMetrics(font).ascent(), nullptr))
                        painter.drawText(line->origin, line->text);
                ASSERT_FALSE(thrown) << round;
            } catch (const Error&) {
                ASSERT_TRUE(thrown) << round;
            }
        }
        if (thrown) {
            // The run ends at the line whose setting is no number: the lines before it drawn,
            // the result as it was.
            ASSERT_EQ(difference(preview->drawme.picture(), canvas), "") << round;
            ASSERT_EQ(difference(preview->desti.picture(), resultBefore), "") << round;
            continue;
        }
        QImage result = canvas.copy();
        if (!settings.plain)
            for (int y = 8; y < 80 && y - 8 < colours.height(); ++y)
                for (int x = 8; x < 320 && x - 8 < colours.width(); ++x)
                    result.setPixel(x, y, result.pixel(x, y) | colours.pixel(x - 8, y - 8));
        const QRgb resultKey = keyOf(preview->drawme, result);

        const std::string at = "round " + std::to_string(round);
        ASSERT_EQ(difference(preview->drawme.picture(), canvas), "") << at;
        ASSERT_EQ(difference(preview->desti.picture(), result), "") << at;
        ASSERT_EQ(difference(preview->desti.shown(), shownOf(result, resultKey, {320, 80})), "") << at;
        ASSERT_EQ(difference(preview->boxme.shown(), shownOf(box, boxKey, {320, 80})), "") << at;
        if (settings.scale2x) {
            enlargeOnto(doubled, box, boxKey);
            enlargeOnto(doubled, result, resultKey);
            ASSERT_EQ(difference(preview->scale2x.picture(), doubled), "") << at;
            ASSERT_EQ(difference(preview->scale2x.shown(), shownOf(doubled, keyOf(preview->scale2x, doubled), {640, 160})), "")
                << at;
        }
    }
}

// A Windows bitmap written by hand, so kinds Qt does not write are there too: 8 bits with
// a palette of `colours` entries, 24 or 32 bits, stored bottom-up or top-down.
QByteArray bitmapFile(const QImage& picture, int bits, bool topDown, int colours = 256) {
    QVector<QRgb> palette;
    if (bits == 8)
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (!palette.contains(picture.pixel(x, y)))
                    palette.append(picture.pixel(x, y));
    palette.resize(bits == 8 ? colours : 0);
    const int rowBytes = (picture.width() * bits + 31) / 32 * 4;
    const int pixelsAt = 54 + 4 * int(palette.size());
    QByteArray data(pixelsAt + rowBytes * picture.height(), '\0');
    const auto put = [&](int at, qint64 value, int size) {
        for (int i = 0; i < size; ++i)
            data[at + i] = static_cast<char>(value >> (8 * i));
    };
    data[0] = 'B';
    data[1] = 'M';
    put(2, data.size(), 4);
    put(10, pixelsAt, 4);
    put(14, 40, 4);
    put(18, picture.width(), 4);
    put(22, topDown ? -picture.height() : picture.height(), 4);
    put(26, 1, 2);
    put(28, bits, 2);
    put(46, bits == 8 ? colours : 0, 4);
    for (int i = 0; i < palette.size(); ++i)
        put(54 + 4 * i, palette[i] & 0xFFFFFF, 4);
    for (int y = 0; y < picture.height(); ++y) {
        const int stored = topDown ? y : picture.height() - 1 - y;
        char* row = data.data() + pixelsAt + stored * rowBytes;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if (bits == 8)
                row[x] = static_cast<char>(std::max<qsizetype>(0, palette.indexOf(p)));
            else
                for (int c = 0; c < bits / 8; ++c)
                    row[x * (bits / 8) + c] = static_cast<char>(c < 3 ? p >> (8 * c) : 0);
        }
    }
    return data;
}

// A text box too large to keep whole is kept as samples; the preview must look exactly as
// with the whole picture: shown at 1x, enlarged at 2x, its transparent colour by default
// and where it is picked.
TEST_F(RenderingIdentityTest, LargeTextBoxesLookAsIfKeptWhole) {
    QImage big(1500, 801, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 255), qRgb(20, 30, 120), qRgb(250, 250, 250), qRgb(0, 90, 0)};
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(x, y, colours[(x / 7 + y / 5 + (x * y) % 3) % 4]);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        big.save(&buffer, "PNG");
    }
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"acht.bmp", bitmapFile(big, 8, false)},       {"kurz.bmp", bitmapFile(big, 8, false, 16)},
        {"voll.bmp", bitmapFile(big, 24, false)},      {"oben.bmp", bitmapFile(big, 24, true)},
        {"zweiunddreissig.bmp", bitmapFile(big, 32, false)}, {"gross.png", png},
    };
    RenderSettings settings;
    settings.lineLength = QStringLiteral("50");
    settings.alignment = QStringLiteral("0");
    settings.scale2x = true;
    preview->setPreviewScale(true);
    for (const auto& f : files) {
        writeFile(folder / f.name, f.bytes.toStdString());
        preview->loadTextBoxPicture(folder / f.name);
        const QImage whole = QImage::fromData(f.bytes).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(whole.size(), big.size()) << f.name;
        EXPECT_EQ(preview->boxme.pictureSize(), big.size()) << f.name;
        const QRgb key = whole.pixel(0, whole.height() - 1);
        EXPECT_EQ(preview->boxme.transparentColour(), key) << f.name;
        EXPECT_EQ(difference(preview->boxme.shown(), shownOf(whole, key, {320, 80})), "") << f.name;

        preview->scale2x.picture().fill(Qt::white);
        renderPreview(*preview, {u"", u"", u"", u""}, settings, nullptr);
        QImage doubled(640, 160, QImage::Format_RGB32);
        doubled.fill(Qt::white);
        enlargeOnto(doubled, whole, key);
        EXPECT_EQ(difference(preview->scale2x.picture(), doubled), "") << f.name;

        for (const QPoint at : {QPoint(320, 80), QPoint(1, 1), QPoint(319, 3)}) {
            preview->pickTransparentColour(at.x(), at.y());
            EXPECT_EQ(preview->boxme.transparentColour(), whole.pixel(at)) << f.name;
        }
    }
}

}  // namespace
}  // namespace zeilwerk::test
