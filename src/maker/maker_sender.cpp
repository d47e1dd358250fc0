#include "maker/maker_sender.h"

#ifdef _WIN32
#include "maker/win32_send.h"
#else
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryFile>
#endif

namespace zeilwerk {
namespace {

#ifdef _WIN32

class Win32Sender : public MakerSender {
public:
    void send(const std::u16string& text) override { sendToMakerDialog(text); }
};

#else

// The first run may create the Wine prefix, which takes a while; after that a send takes
// a fraction of a second. Beyond this the bridge is given up, so the program never hangs.
constexpr int bridgeTimeoutMs = 120'000;

class WineSender : public MakerSender {
public:
    explicit WineSender(std::filesystem::path bridge) : m_bridge(std::move(bridge)) {}

    void send(const std::u16string& text) override {
        const QString bridge = QFile::decodeName(QByteArray::fromStdString(m_bridge.string()));
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty() || !QFile::exists(bridge))
            return;

        QTemporaryFile input;
        if (!input.open())
            return;
        QByteArray bytes;
        bytes.reserve(static_cast<qsizetype>(text.size() * 2));
        for (char16_t unit : text) {
            bytes.append(static_cast<char>(unit & 0xFF));
            bytes.append(static_cast<char>(unit >> 8));
        }
        input.write(bytes);
        input.flush();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("WINEDEBUG")))
            env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        if (!env.contains(QStringLiteral("WINEDLLOVERRIDES")))
            env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree=d;mshtml=d"));

        QProcess process;
        process.setProcessEnvironment(env);
        process.setStandardInputFile(input.fileName());
        // Never a pipe: Wine's background services would inherit it and hold it open.
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(wine, {bridge});
        if (!process.waitForFinished(bridgeTimeoutMs))
            process.kill();
        process.waitForFinished(1000);
    }

private:
    std::filesystem::path m_bridge;
};

#endif

}  // namespace

std::unique_ptr<MakerSender> systemMakerSender(const std::filesystem::path& executableFolder) {
#ifdef _WIN32
    (void)executableFolder;
    return std::make_unique<Win32Sender>();
#else
    return std::make_unique<WineSender>(executableFolder / "zeilwerk-maker.exe");
#endif
}

}  // namespace zeilwerk
