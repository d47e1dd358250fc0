#include "maker/maker_sender.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <csignal>
#include <unistd.h>

namespace zeilwerk {
namespace {

// Wine creating its prefix on first use takes several seconds and shows its own dialog;
// the bridge is given this long to come up then, and the usual time otherwise.
constexpr int firstStartTimeoutMs = 90'000;

// The bridge runs once for the whole session: starting Wine costs far more than a send.
// Each send is still answered before send() returns.
class WineSender : public MakerSender {
public:
    explicit WineSender(std::filesystem::path bridge) : m_bridge(std::move(bridge)) {}

    ~WineSender() override {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();  // the bridge ends with its input
        if (!m_process.waitForFinished(2000))
            stop();
    }

    Result send(const std::u16string& text) override {
        if (m_process.state() == QProcess::NotRunning) {
            const Result started = start();
            if (started == Result::NotStarted && m_told)
                return Result::NotSent;
            m_told = m_told || started == Result::NotStarted;
            if (started != Result::Sent)
                return started;
        }
        QByteArray frame;
        frame.reserve(static_cast<qsizetype>(4 + 2 * text.size()));
        const auto units = static_cast<std::uint32_t>(text.size());
        for (int i = 0; i < 4; ++i)
            frame.append(static_cast<char>(units >> (8 * i)));
        for (const char16_t unit : text) {
            frame.append(static_cast<char>(unit & 0xFF));
            frame.append(static_cast<char>(unit >> 8));
        }
        m_process.write(frame);
        const char answer = awaitAnswer(makerAnswerTimeoutMs);
        if (answer == '0')
            return Result::Sent;
        if (answer == '1')
            return Result::NotSent;
        stop();
        return Result::NoAnswer;
    }

    std::string problem() const override { return m_problem.toStdString(); }

private:
    Result start() {
        const QString bridge = QFile::decodeName(QByteArray::fromStdString(m_bridge.string()));
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        const std::string problem = bridgeStartProblem(m_bridge, !wine.isEmpty());
        if (!problem.empty())
            return notStarted(QString::fromStdString(problem));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("WINEDEBUG")))
            env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        if (!env.contains(QStringLiteral("WINEDLLOVERRIDES")))
            env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree=d;mshtml=d"));
        m_process.setProcessEnvironment(env);
        // A group of its own, so a bridge that hangs is stopped with every process Wine
        // started for it, and never with the Maker.
        m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
        // A file, not a pipe, for Wine's words: the services it starts would hold a pipe open.
        if (!m_errors.isOpen() && !m_errors.open())
            m_process.setStandardErrorFile(QProcess::nullDevice());
        else
            m_process.setStandardErrorFile(m_errors.fileName());
        m_process.start(wine, {bridge, QStringLiteral("--resident")});
        if (!m_process.waitForStarted(makerAnswerTimeoutMs))
            return notStarted(m_process.errorString());
        const char first = awaitAnswer(prefixReady(env) ? makerAnswerTimeoutMs : firstStartTimeoutMs);
        if (first == 'R')
            return Result::Sent;
        // A Wine that gives up explains itself, on either channel, and ends.
        if (first != 0)
            m_process.waitForFinished(2000);
        if (m_process.state() != QProcess::NotRunning)
            return stopped();
        QByteArray said = m_process.readAllStandardOutput();
        if (first != 0)
            said.prepend(first);
        return notStarted(wineWords(said));
    }

    // The end of what Wine wrote, where it explains itself: to its standard error, or (for a
    // program it refuses) to the standard output that was to carry the bridge's answers.
    QString wineWords(const QByteArray& said) {
        QFile file(m_errors.fileName());
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        QString words = QString::fromLocal8Bit(bytes.trimmed() + '\n' + said.trimmed()).trimmed();
        if (words.size() > 1500)
            words = QStringLiteral("…") + words.right(1500);
        if (words.isEmpty())
            words = QStringLiteral("Wine hat sich ohne Erklärung mit dem Code %1 beendet.").arg(m_process.exitCode());
        return words;
    }

    Result notStarted(const QString& problem) {
        stop();
        m_problem = problem;
        return Result::NotStarted;
    }

    static bool prefixReady(const QProcessEnvironment& env) {
        const QString prefix = env.value(QStringLiteral("WINEPREFIX"), QDir::homePath() + QStringLiteral("/.wine"));
        return QFile::exists(prefix + QStringLiteral("/system.reg"));
    }

    // One byte from the bridge, or 0 when none came in time. The windows keep painting
    // meanwhile; the user's input waits, so no second send can start.
    char awaitAnswer(int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (m_process.bytesAvailable() == 0) {
            if (m_process.state() == QProcess::NotRunning || timer.elapsed() >= timeoutMs)
                return 0;
            m_process.waitForReadyRead(static_cast<int>(std::min<qint64>(50, timeoutMs - timer.elapsed())));
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        char c = 0;
        m_process.getChar(&c);
        return c;
    }

    Result stopped() {
        stop();
        return Result::NoAnswer;
    }

    void stop() {
        const qint64 pid = m_process.processId();
        if (pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        m_process.kill();
        m_process.waitForFinished(2000);
    }

    std::filesystem::path m_bridge;
    QProcess m_process;
    QTemporaryFile m_errors;
    QString m_problem;
    bool m_told = false;  // whether the user heard this session that the bridge does not start
};

}  // namespace

std::string bridgeStartProblem(const std::filesystem::path& bridge, bool wineFound,
                               const std::filesystem::path& wineFolder) {
    if (!wineFound)
        return "Das Programm „wine“ ist nicht installiert.";
    std::error_code error;
    if (!std::filesystem::is_regular_file(bridge, error))
        return bridge.string() + " fehlt: Zeilwerk wurde ohne den 32-Bit-Compiler für Windows gebaut "
                                 "(Debian: g++-mingw-w64-i686-win32).";
    if (std::filesystem::exists(wineFolder / "wine64", error) && !std::filesystem::exists(wineFolder / "wine", error))
        return "Der 32-Bit-Teil von Wine fehlt, ohne den weder der Maker noch die Brücke laufen. Unter Debian:\n"
               "sudo dpkg --add-architecture i386\nsudo apt-get update\nsudo apt-get install wine32:i386";
    return {};
}

std::unique_ptr<MakerSender> systemMakerSender(const std::filesystem::path& bridge) {
    return std::make_unique<WineSender>(bridge);
}

}  // namespace zeilwerk
