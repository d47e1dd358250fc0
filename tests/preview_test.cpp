#include "program_fixture.h"

#include "core/message/layout.h"
#include "core/platform/error.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include <sys/stat.h>

namespace zeilwerk::test {
namespace {

QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

class PreviewTest : public PreviewProgramTest {
protected:
    void type(const QString& text) { input->GetText->setPlainText(text); }

    // The x range of black-coloured (non-white) pixels of a layer in the band of line i.
    static std::pair<int, int> inkColumns(const QImage& image, int line) {
        int first = -1, last = -1;
        for (int y = 16 * line + 8; y < 16 * line + 24 && y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                    first = first < 0 ? x : std::min(first, x);
                    last = std::max(last, x);
                }
        return {first, last};
    }
    static bool allWhite(const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    return false;
        return true;
    }
    int cellWidth() const {
        QFont f = windowsFont(preview->previewFont(), 9);
        return QFontMetrics(f).horizontalAdvance(u' ');
    }
};

TEST_F(PreviewTest, AssetSetUpLoadsBothPicturesAndTheTransparentColours) {
    EXPECT_EQ(preview->previewFont(), "MS Mincho");
    EXPECT_EQ(preview->boxme.picture().size(), QSize(320, 80));
    EXPECT_EQ(preview->boxme.transparentColour(), boxKey);
    for (Layer* l : {&preview->desti, &preview->drawme, &preview->scale2x})
        EXPECT_EQ(l->transparentColour(), 0xFFFFFFFF);
    EXPECT_EQ(preview->scale2x.picture().size(), QSize(640, 160));
    const QImage& cala = preview->cala.picture();
    for (int y : {0, 5, 15, 16, 79})
        EXPECT_EQ(cala.pixel(317, y), patternColour(y % 16)) << y;
    // The shown text box lets the window through at its key pixel.
    EXPECT_EQ(qAlpha(preview->boxme.shown().pixel(1, 1)), 0);
    EXPECT_EQ(preview->boxme.shown().pixel(2, 2), boxColour);
}

TEST_F(PreviewTest, TinyTextBoxesTakeTheirKeyFromThePixelNearestToOneOne) {
    struct Tiny {
        QSize size;
        QPoint key;
    };
    for (const Tiny& t : {Tiny{{1, 1}, {0, 0}}, Tiny{{3, 1}, {1, 0}}, Tiny{{1, 3}, {0, 1}}, Tiny{{2, 2}, {1, 1}}}) {
        QImage box(t.size, QImage::Format_RGB32);
        box.fill(boxColour);
        box.setPixel(t.key, qRgb(12, 34, 56));
        ASSERT_TRUE(box.save(QString::fromStdString((folder / "txtbox.bmp").string()), "BMP"));
        preview->setUpAssets();
        EXPECT_EQ(preview->boxme.transparentColour(), qRgb(12, 34, 56)) << t.size.width() << "x" << t.size.height();
    }
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(PreviewTest, AMissingPictureAtStartUpIsReportedAndEndsTheSetUp) {
    std::filesystem::remove(folder / "txtclr.bmp");
    TForm3 fresh(platform, windows);
    try {
        fresh.setUpAssets();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + (folder / "txtclr.bmp").string() + "\". No such file or directory");
    }
    EXPECT_EQ(fresh.previewFont(), "schriftart");
    EXPECT_FALSE(fresh.boxme.hasPicture());
}

TEST_F(PreviewTest, PreviewScaleSizesTheWindowAndHidesTheTextBox) {
    preview->setPreviewScale(true);
    EXPECT_EQ(preview->size(), QSize(656, 176));
    EXPECT_FALSE(preview->boxme.visible);
    preview->setPreviewScale(false);
    EXPECT_EQ(preview->size(), QSize(336, 96));
    EXPECT_TRUE(preview->boxme.visible);
}

TEST_F(PreviewTest, TextBoxPicturesKeepTheirSizeAndPickInTheirOwnPixels) {
    QImage big(640, 160, QImage::Format_RGB32);
    big.fill(qRgb(0, 0, 50));
    big.setPixel(300, 70, qRgb(1, 2, 3));
    big.save(qpath(folder / "gross.png"), "PNG");
    preview->loadTextBoxPicture(folder / "gross.png");
    EXPECT_EQ(preview->boxme.picture().size(), QSize(640, 160));
    EXPECT_EQ(preview->boxme.shown().size(), QSize(320, 80));
    EXPECT_EQ(preview->boxme.transparentColour(), qRgb(0, 0, 50));   // bottom-left until picked
    preview->pickTransparentColour(300, 70);
    EXPECT_EQ(preview->boxme.transparentColour(), qRgb(1, 2, 3));
    for (auto [x, y] : {std::pair{640, 0}, {0, 160}, {-1, 5}, {3, -1}}) {
        preview->pickTransparentColour(x, y);
        EXPECT_EQ(preview->boxme.transparentColour(), qRgb(1, 2, 3)) << x << "," << y;
    }
}

TEST_F(PreviewTest, BadPicturesRaiseTheSystemTextsAndKeepThePreviousPicture) {
    writeFile(folder / "box.txt", "kein Bild");
    writeFile(folder / "kaputt.bmp", "BM kaputt");
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {folder / "box.txt", "Unknown picture file extension (.txt)"},
        {folder / "ohne", "Unknown picture file extension (.)"},
        {folder / "kaputt.bmp", "Bitmap image is not valid"},
        {folder / "fehlt.bmp", "Cannot open file \"" + (folder / "fehlt.bmp").string() + "\". No such file or directory"},
    };
    for (const auto& [path, text] : cases) {
        try {
            preview->loadTextBoxPicture(path);
            ADD_FAILURE() << path;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
        EXPECT_EQ(preview->boxme.picture().pixel(5, 5), boxColour);
    }
    EXPECT_THROW(preview->loadColourPicture(folder / "kaputt.bmp"), Error);
    EXPECT_EQ(preview->cala.picture().pixel(0, 3), patternColour(3));
}

// Damaged, oversized and non-file pictures are refused before anything is decoded.
TEST_F(PreviewTest, CutOversizedAndNonFilePicturesAreNotValid) {
    QByteArray whole;
    {
        QImage box(320, 80, QImage::Format_RGB32);
        box.fill(qRgb(9, 9, 90));
        QBuffer buffer(&whole);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(box.save(&buffer, "BMP"));
    }
    // An RLE8 bitmap of about a kilobyte that declares 5600 × 5600 pixels.
    QByteArray bomb = whole.left(54);
    const auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bomb[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(10, 54 + 1024);  // palette, then the pixels
    put32(18, 5600);
    put32(22, 5600);
    bomb[28] = 8;
    bomb[29] = 0;
    put32(30, 1);          // RLE8
    put32(34, 2);
    bomb.append(QByteArray(1024, '\0'));
    bomb.append(QByteArray("\x00\x01", 2));  // end of picture
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut.bmp", whole.left(2000)},
        {"onebyteshort.bmp", whole.left(whole.size() - 1)},
        {"bomb.bmp", bomb},
        {"headeronly.bmp", whole.left(30)},
    };
    for (const auto& c : cases) {
        writeFile(folder / c.name, c.bytes.toStdString());
        for (const bool colours : {false, true}) {
            try {
                colours ? preview->loadColourPicture(folder / c.name) : preview->loadTextBoxPicture(folder / c.name);
                ADD_FAILURE() << c.name;
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), "Bitmap image is not valid") << c.name;
            }
        }
        EXPECT_EQ(preview->boxme.picture().pixel(5, 5), boxColour) << c.name;
    }
    writeFile(folder / "whole.bmp", whole.toStdString());
    preview->loadTextBoxPicture(folder / "whole.bmp");
    EXPECT_EQ(preview->boxme.picture().pixel(5, 5), qRgb(9, 9, 90));

    // A FIFO never delivers a byte: it must be refused, not waited on.
    ASSERT_EQ(::mkfifo((folder / "fifo.bmp").c_str(), 0600), 0);
    EXPECT_THROW(preview->loadTextBoxPicture(folder / "fifo.bmp"), Error);
}

TEST_F(PreviewTest, ASecondColourPictureOverwritesEveryPixel) {
    QImage odd(7, 9, QImage::Format_RGB32);
    odd.fill(qRgb(0, 200, 0));
    odd.save(qpath(folder / "gruen.bmp"), "BMP");
    preview->loadColourPicture(folder / "gruen.bmp");
    const QImage& cala = preview->cala.picture();
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(cala.pixel(x, y), qRgb(0, 200, 0)) << x << "," << y;
}

TEST_F(PreviewTest, AnEmptyMemoLeavesTheResultWhite) {
    type("\\c[2]\n\n\\.\\|");
    EXPECT_TRUE(allWhite(preview->desti.picture()));
    EXPECT_TRUE(allWhite(preview->drawme.picture()));
}

TEST_F(PreviewTest, TextIsBlackOnWhiteWithoutGreyAndColouredByThePattern) {
    options->vorschau_plain->setChecked(true);
    type("Hallo Welt \\c[2]gelb");
    const QImage& drawn = preview->drawme.picture();
    int black = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 320; ++x) {
            const QRgb p = drawn.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
            black += p == 0;
        }
    EXPECT_GT(black, 50);
    EXPECT_EQ(preview->desti.picture(), drawn);   // plain: black stays black

    options->vorschau_plain->setChecked(false);
    type("Hallo Welt \\c[2]gelb");
    const QImage& result = preview->desti.picture();
    for (int y = 8; y < 80; ++y)
        for (int x = 8; x < 320; ++x)
            if ((drawn.pixel(x, y) & 0xFFFFFF) == 0)
                ASSERT_EQ(result.pixel(x, y), patternColour((y - 8) % 16)) << x << "," << y;
            else
                ASSERT_EQ(result.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(PreviewTest, LinesAreAlignedByLeadingSpacesInCells) {
    const int cell = cellWidth();
    type("Hallo");
    const auto [leftStart, leftEnd] = inkColumns(preview->drawme.picture(), 0);
    EXPECT_GE(leftStart, 4 + cell);   // one space in, always

    options->ausrichtung->setText("1");
    type("Hallo");
    EXPECT_EQ(inkColumns(preview->drawme.picture(), 0).first, leftStart + 21 * cell);
    options->ausrichtung->setText("2");
    type("Hallo\nHallo Hallo\n\\c[3]Hallo\\_\\_");
    const QImage& right = preview->drawme.picture();
    EXPECT_EQ(inkColumns(right, 0).first, leftStart + 44 * cell);
    EXPECT_EQ(inkColumns(right, 0).second, inkColumns(right, 1).second);
    EXPECT_EQ(inkColumns(right, 2).first, leftStart + 43 * cell);   // two half spaces print one space
}

TEST_F(PreviewTest, LinesAreCutToTheLineLengthAndAFaceSetMovesThem) {
    const int cell = cellWidth();
    type(QString(50, u'W'));
    const QImage fifty = preview->drawme.picture();
    type(QString(60, u'W'));
    EXPECT_EQ(preview->drawme.picture(), fifty);

    options->laenge->setText("38");
    type(QString(38, u'W'));
    const QImage thirtyEight = preview->drawme.picture();
    type(QString(39, u'W') + "\n\n\n\nfünfte Zeile");
    EXPECT_EQ(preview->drawme.picture(), thirtyEight);
    EXPECT_GE(inkColumns(thirtyEight, 0).first, 70 + cell);
    EXPECT_LT(inkColumns(thirtyEight, 0).first, 70 + 2 * cell);
}

TEST_F(PreviewTest, AFifthLineIsNeverDrawn) {
    type("\n\n\n\nfünf");
    EXPECT_TRUE(allWhite(preview->drawme.picture()));
}

TEST_F(PreviewTest, WithTheLivePreviewOffNothingChanges) {
    type("Hallo");
    const QImage before = preview->desti.picture();
    options->vorschau_aktiv->setChecked(false);
    type("Ganz anders");
    EXPECT_EQ(preview->desti.picture(), before);
}

TEST_F(PreviewTest, TwoXDoublesTheTextBoxAndTheColouredText) {
    options->vorschau_scale2x->setChecked(true);
    type("Hallo");
    const QImage& result = preview->desti.picture();
    const QImage& box = preview->boxme.picture();
    const QImage& doubled = preview->scale2x.picture();
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 320; ++x) {
            QRgb expected = result.pixel(x, y);
            if ((expected & 0xFFFFFF) == 0xFFFFFF)
                expected = box.pixel(x, y) == boxKey ? 0xFFFFFFFF : box.pixel(x, y);
            for (int d = 0; d < 4; ++d)
                ASSERT_EQ(doubled.pixel(2 * x + d % 2, 2 * y + d / 2), expected) << x << "," << y;
        }
    preview->setPreviewScale(false);
    EXPECT_TRUE(allWhite(preview->scale2x.picture()));
}

TEST_F(PreviewTest, TypingRedrawsAndTracesWhileTheDebuggerIsOn) {
    options->debug_check->setChecked(true);
    input->GetText->setFocus();
    QTest::keyClicks(input->GetText, "A\\v");
    EXPECT_FALSE(allWhite(preview->desti.picture()));
    EXPECT_FALSE(options->debug->toPlainText().isEmpty());
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(PreviewTest, TheWindowPaintsTheLayersAtEightEight) {
    options->vorschau_plain->setChecked(true);
    type("Hallo");
    const QImage shot = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(8 + 2, 8 + 2), boxColour);
    const auto [first, last] = inkColumns(preview->drawme.picture(), 0);
    bool black = false;
    for (int y = 8; y < 24; ++y)
        for (int x = first; x <= last; ++x)
            black |= (shot.pixel(x + 8, y + 8) & 0xFFFFFF) == 0;
    EXPECT_TRUE(black);
    EXPECT_NE(shot.pixel(8 + 1, 8 + 1), boxKey);   // the key colour lets the background through
}

}  // namespace
}  // namespace zeilwerk::test
