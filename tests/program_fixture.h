#pragma once

#include "temp_dir.h"

#include "app/startup.h"
#include "look/fonts.h"
#include "maker/maker_sender.h"
#include "platform/platform.h"
#include "widgets/messages.h"
#include "windows/input/input_window.h"
#include "windows/options/option_window.h"
#include "windows/preview/preview_window.h"
#include "windows/toolbar/toolbar_window.h"
#include "windows/windows.h"

#include <QImage>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace zeilwerk::test {

// Keeps what the user would have been shown, so no test blocks in a message box.
class RecordedMessages : public Messages {
public:
    void show(const QString& text) override { shown << text; }
    void error(const QString& text) override { errors << errorBoxText(text); }
    QStringList shown;
    QStringList errors;
};

// Keeps what would have been typed into the Maker.
class RecordedSender : public MakerSender {
public:
    Result send(const std::u16string& text) override {
        sent.push_back(text);
        return Result::Sent;
    }
    std::vector<std::u16string> sent;
};

inline const FontList& installedFonts() {
    static const FontList fonts = FontList::installed();
    return fonts;
}

// The four real windows, created in the program's order, with a temporary folder
// standing in for the executable's.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.messages = &messages;
        platform.fonts = &installedFonts();
        platform.settingsFolder = folder.path();
    }
    void create() {
        input = std::make_unique<TForm1>(platform, windows);
        windows.input = input.get();
        options = std::make_unique<TForm2>(platform, windows);
        windows.options = options.get();
        preview = std::make_unique<TForm3>(platform, windows);
        windows.preview = preview.get();
        toolbar = std::make_unique<TForm4>(platform, windows);
        windows.toolbar = toolbar.get();
        connectWindowGroup(windows, platform);
    }
    // Our test pictures beside the "executable": a dark blue text box whose corner (1, 1)
    // is magenta, and a colour picture whose row r is (255, 16 r, 0).
    void writePictures() {
        QImage box(320, 80, QImage::Format_RGB32);
        box.fill(boxColour);
        box.setPixel(1, 1, boxKey);
        box.save(QString::fromStdString((folder / "txtbox.bmp").string()), "BMP");
        QImage colours(16, 16, QImage::Format_RGB32);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                colours.setPixel(x, y, patternColour(y));
        colours.save(QString::fromStdString((folder / "txtclr.bmp").string()), "BMP");
    }
    static QRgb patternColour(int row) { return qRgb(255, 16 * row, 0); }
    static constexpr QRgb boxColour = 0xFF101060;
    static constexpr QRgb boxKey = 0xFFFF00FF;

    void TearDown() override {
        toolbar.reset();
        preview.reset();
        options.reset();
        input.reset();
    }

    TempDir folder;
    RecordedMessages messages;
    Platform platform;
    Windows windows;
    std::unique_ptr<TForm1> input;
    std::unique_ptr<TForm2> options;
    std::unique_ptr<TForm3> preview;
    std::unique_ptr<TForm4> toolbar;
};

// The windows with our pictures loaded into the preview, as after start-up.
class PreviewProgramTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writePictures();
        create();
        preview->setUpAssets();
    }
};

}  // namespace zeilwerk::test
