#include "program_fixture.h"

#include "core/maker/export_text.h"
#include "core/platform/code_page.h"
#include "maker/maker_sender.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>

#include <csignal>
#include <unistd.h>

namespace zeilwerk::test {
namespace {

// Wine sees the whole Linux file system as drive Z:.
QString windowsPath(const std::filesystem::path& p) {
    return QStringLiteral("Z:") + QString::fromStdString(p.string());
}

std::u16string unitsOf(const std::string& bytes) {
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       static_cast<unsigned char>(bytes[i + 1]) << 8);
    return units;
}

// Bytes as the 16-bit values the recording memo stores them as.
std::u16string latin(const std::string& bytes) {
    std::u16string units;
    for (char b : bytes)
        units += static_cast<char16_t>(static_cast<unsigned char>(b));
    return units;
}

// Wine prefixes of the tests' own, one per kind, made on first use and shared by the tests
// of one run: making one takes many seconds. The Maker is often kept in a 32-bit one.
class WinePrefixes {
public:
    ~WinePrefixes() {
        for (const auto& [arch, prefix] : m_made)
            std::system(("WINEPREFIX='" + prefix.string() + "' wineserver -k 2>/dev/null").c_str());
    }
    std::filesystem::path operator[](const std::string& arch) { return m_made[arch] = m_folder / arch; }

private:
    TempDir m_folder;
    std::map<std::string, std::filesystem::path> m_made;
};

WinePrefixes& winePrefixes() {
    static WinePrefixes prefixes;
    return prefixes;
}

class MakerExportTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        usePrefix("win64");
        writePictures();
        std::filesystem::copy_file(std::filesystem::path(ZEILWERK_BUILD_DIR) / "zeilwerk-maker.exe",
                                   folder / "zeilwerk-maker.exe");
        sender = systemMakerSender(folder / "zeilwerk-maker.exe");
        platform.maker = sender.get();
        create();
        input->show();
    }
    void TearDown() override {
        if (fake.state() != QProcess::NotRunning) {
            writeFile(folder / "quit", "");
            fake.waitForFinished(20000);
        }
        platform.maker = sender.get();
        ProgramTest::TearDown();
        sender.reset();
        for (const auto& [name, value] : m_environment)
            value ? qputenv(name.c_str(), *value) : qunsetenv(name.c_str());
    }
    // Changed for this test only; the bridge and Wine inherit it.
    void setEnvironment(const std::string& name, const QByteArray& value) {
        if (!m_environment.count(name))
            m_environment[name] = qEnvironmentVariableIsSet(name.c_str()) ? std::optional(qgetenv(name.c_str())) : std::nullopt;
        qputenv(name.c_str(), value);
    }
    void usePrefix(const std::string& arch) {
        setEnvironment("WINEPREFIX", QByteArray::fromStdString(winePrefixes()[arch].string()));
        setEnvironment("WINEARCH", QByteArray::fromStdString(arch));
    }
    void startFakeMaker() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("WINEDEBUG", "-all");
        env.insert("WINEDLLOVERRIDES", "mscoree=d;mshtml=d");
        fake.setProcessEnvironment(env);
        // Never a pipe: Wine's services would hold it open.
        fake.setStandardOutputFile(QProcess::nullDevice());
        fake.setStandardErrorFile(QProcess::nullDevice());
        fake.start("wine", {QString(ZEILWERK_FAKE_MAKER), windowsPath(folder / "record"), windowsPath(folder / "ready"),
                            windowsPath(folder / "quit")});
        // The dialog's window can exist before its children: wait for the whole chain, and
        // for Wine to make the prefix first.
        ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(folder / "ready"); }, 240000))
            << "the stand-in dialog did not come up under Wine";
    }
    std::u16string recorded() const { return unitsOf(readFile(folder / "record")); }

    std::unique_ptr<MakerSender> sender;
    QProcess fake;

private:
    std::map<std::string, std::optional<QByteArray>> m_environment;
};

TEST_F(MakerExportTest, WithoutADialogNothingHappens) {
    input->GetText->setPlainText("Hallo");
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(input->GetText->toPlainText(), "Hallo");
}

class MakerExportInPrefixTest : public MakerExportTest, public ::testing::WithParamInterface<const char*> {};

// The same 32-bit bridge in either kind of prefix.
TEST_P(MakerExportInPrefixTest, TheDialogReceivesTheExportTextUnitByUnit) {
    usePrefix(GetParam());
    ASSERT_NO_FATAL_FAILURE(startFakeMaker());
    // Only a 64-bit prefix has a second system folder, for 32-bit programs.
    EXPECT_EQ(std::filesystem::exists(winePrefixes()[GetParam()] / "drive_c/windows/syswow64"),
              std::string(GetParam()) == "win64");
    struct Case {
        const char* alignment;
        const char* length;
    };
    const QString message = QString::fromUtf8("Grüße, \\c[2]Held\\n[1]!\n\\v[12] Münzen für dich.\n\n€ und äöü ß\nfünfte Zeile");
    std::u16string expected;
    for (const Case& c : {Case{"0", "50"}, Case{"1", "50"}, Case{"2", "38"}}) {
        options->ausrichtung->setText(c.alignment);
        options->laenge->setText(c.length);
        input->GetText->setPlainText(message);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(options->text_maker, Qt::LeftButton);
        std::cout << "[ timing ] one send of a four-line message, alignment " << c.alignment << ": "
                  << timer.elapsed() << " ms\n";
        expected += buildExportText({input->line(0), input->line(1), input->line(2), input->line(3)},
                                    std::atoi(c.alignment), std::atoi(c.length));
        // The Maker gets the 8-bit form, one byte a character, "€" as 0x80.
        EXPECT_EQ(recorded(), latin(CodePage::system().encode(expected))) << "alignment " << c.alignment;
    }
    EXPECT_EQ(std::count(expected.begin(), expected.end(), u'\r'), 12);
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Prefixes, MakerExportInPrefixTest, ::testing::Values("win64", "win32"));

struct Unstartable {
    const char* name;
    const char* wine;    // a script standing in for Wine, or empty for the real one, or "none"
    const char* bridge;  // what lies where the bridge should, or empty for the real one
    bool prefixIsAFile;
    const char* words;   // what Wine (or we) said, as the message must carry it
};

class UnstartableBridgeTest : public MakerExportTest, public ::testing::WithParamInterface<Unstartable> {};

// The user hears once a session, in Wine's own words, and the program goes on.
TEST_P(UnstartableBridgeTest, TheUserIsToldOnceWhy) {
    const Unstartable& row = GetParam();
    const auto bin = folder / "bin";
    std::filesystem::create_directories(bin);
    if (std::string(row.wine) != "") {
        if (std::string(row.wine) != "none") {
            writeFile(bin / "wine", row.wine);
            std::filesystem::permissions(bin / "wine", std::filesystem::perms::owner_all);
        }
        setEnvironment("PATH", QByteArray::fromStdString(bin.string()) +
                                   (std::string(row.wine) == "none" ? QByteArray() : ":" + qgetenv("PATH")));
    }
    if (std::string(row.bridge) != "")
        writeFile(folder / "zeilwerk-maker.exe", row.bridge);
    if (row.prefixIsAFile) {
        writeFile(folder / "prefix", "");
        setEnvironment("WINEPREFIX", QByteArray::fromStdString((folder / "prefix").string()));
    }

    input->GetText->setPlainText("Hallo");
    for (int click = 0; click < 2; ++click)
        QTest::mouseClick(options->text_maker, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith(QString::fromUtf8("Wine konnte die Brücke zum Maker nicht starten:\n")))
        << messages.shown[0].toStdString();
    EXPECT_TRUE(messages.shown[0].contains(QString::fromUtf8(row.words))) << messages.shown[0].toStdString();
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(input->GetText->toPlainText(), "Hallo");
}

INSTANTIATE_TEST_SUITE_P(Causes, UnstartableBridgeTest, ::testing::Values(
    Unstartable{"PrefixIsAFile", "", "", true, "Not a directory"},
    Unstartable{"NotAProgram", "", "kein Programm", false, "ShellExecuteEx failed"},
    Unstartable{"WineFails", "#!/bin/sh\necho 'wine: Bad EXE format for zeilwerk-maker.exe.' >&2\nexit 1\n", "",
                false, "wine: Bad EXE format for zeilwerk-maker.exe."},
    Unstartable{"NoWine", "none", "", false, "„wine“ ist nicht installiert"}),
    [](const auto& info) { return std::string(info.param.name); });

// Whether a process is gone: not there, or only a zombie waiting to be reaped.
bool gone(pid_t pid) {
    if (::kill(pid, 0) != 0)
        return true;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("State:", 0) == 0)
            return line.find('Z') != std::string::npos;
    return true;
}

// A Wine that never answers, and starts a child of its own: after the answer time the user
// is told once, and Wine is stopped with that child; the program goes on.
TEST_F(MakerExportTest, AWineThatDoesNotAnswerIsStoppedWithItsWholeGroup) {
    const auto bin = folder / "bin";
    std::filesystem::create_directories(bin);
    writeFile(bin / "wine", "#!/bin/sh\nsleep 1000 &\necho $! > '" + (folder / "child.pid").string() +
                                "'\nwait\n");
    std::filesystem::permissions(bin / "wine", std::filesystem::perms::owner_all);
    std::filesystem::create_directories(folder / "prefix");
    writeFile(folder / "prefix" / "system.reg", "");
    setEnvironment("PATH", QByteArray::fromStdString(bin.string()) + ":" + qgetenv("PATH"));
    setEnvironment("WINEPREFIX", QByteArray::fromStdString((folder / "prefix").string()));

    const std::unique_ptr<MakerSender> hanging = systemMakerSender(folder / "zeilwerk-maker.exe");
    platform.maker = hanging.get();
    input->GetText->setPlainText("Hallo");
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    EXPECT_GE(timer.elapsed(), makerAnswerTimeoutMs);
    EXPECT_LT(timer.elapsed(), makerAnswerTimeoutMs + 5000);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith("Der Text ist nicht beim Maker angekommen")) << messages.shown[0].toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    const pid_t child = static_cast<pid_t>(std::stol(readFile(folder / "child.pid")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return gone(child); }, 3000)) << "the child of Wine survived";
}

}  // namespace
}  // namespace zeilwerk::test
