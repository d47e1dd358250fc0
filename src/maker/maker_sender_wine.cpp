#include "maker/maker_sender.h"

#include "maker/bridge_frames.h"
#include "maker/maker_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>

#include <algorithm>
#include <cstdint>

#include <csignal>
#include <unistd.h>

namespace zeilwerk {
namespace {

// Wine creating its prefix on first use takes several seconds and shows its own dialog;
// the bridge is given this long to come up then, and the usual time otherwise.
constexpr int firstStartTimeoutMs = 90'000;

// The bridge runs once for the whole session: starting Wine costs far more than a send or a
// read. Its process is made on the thread that first asks, and used and ended there.
class Bridge {
public:
    enum class Start { Running, NotStarted, Quiet, NoAnswer };

    // Wine is found on the PATH, its loaders in Debian's folder, unless given.
    explicit Bridge(std::filesystem::path bridge, QString wine = {},
                    std::filesystem::path wineFolder = "/usr/lib/wine", int timeoutMs = makerAnswerTimeoutMs)
        : m_bridge(std::move(bridge)), m_wine(std::move(wine)), m_wineFolder(std::move(wineFolder)),
          m_timeoutMs(timeoutMs) {}

    int timeoutMs() const { return m_timeoutMs; }

    ~Bridge() { close(); }

    // The bridge running, started now if need be. A start that failed once before in the
    // session is Quiet: the user heard why already.
    Start ensureRunning() {
        if (m_process && m_process->state() != QProcess::NotRunning)
            return Start::Running;
        const Start started = start();
        if (started == Start::NotStarted && m_told)
            return Start::Quiet;
        m_told = m_told || started == Start::NotStarted;
        return started;
    }

    void write(const std::string& frame) {
        m_process->write(frame.data(), static_cast<qint64>(frame.size()));
    }

    // One byte from the bridge, or 0 when none came in time. On the GUI thread the windows
    // keep painting meanwhile; the user's input waits, so no second send can start.
    char awaitAnswer(int timeoutMs) {
        QByteArray one;
        return awaitBytes(one, 1, timeoutMs) ? one[0] : 0;
    }

    // count bytes from the bridge within the time, or false.
    bool awaitBytes(QByteArray& bytes, qint64 count, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        const QCoreApplication* app = QCoreApplication::instance();
        const bool gui = app && QThread::currentThread() == app->thread();
        while (m_process->bytesAvailable() < count) {
            if (m_process->state() == QProcess::NotRunning || timer.elapsed() >= timeoutMs)
                return false;
            m_process->waitForReadyRead(static_cast<int>(std::min<qint64>(50, timeoutMs - timer.elapsed())));
            if (gui)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        bytes = m_process->read(count);
        return true;
    }

    void stop() {
        if (!m_process)
            return;
        const qint64 pid = m_process->processId();
        if (pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        m_process->kill();
        m_process->waitForFinished(2000);
    }

    // The process ended: with its input when it still runs, else stopped.
    void close() {
        if (!m_process)
            return;
        if (m_process->state() != QProcess::NotRunning) {
            m_process->closeWriteChannel();  // the bridge ends with its input
            if (!m_process->waitForFinished(2000))
                stop();
        }
        m_process.reset();
    }

    std::string problem() const { return m_problem.toStdString(); }

private:
    Start start() {
        if (!m_process)
            m_process = std::make_unique<QProcess>();
        const QString program = QFile::decodeName(QByteArray::fromStdString(m_bridge.string()));
        const QString wine = m_wine.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("wine")) : m_wine;
        const std::string problem = bridgeStartProblem(m_bridge, !wine.isEmpty(), m_wineFolder);
        if (!problem.empty())
            return notStarted(QString::fromStdString(problem));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("WINEDEBUG")))
            env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        if (!env.contains(QStringLiteral("WINEDLLOVERRIDES")))
            env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree=d;mshtml=d"));
        m_process->setProcessEnvironment(env);
        // A group of its own, so a bridge that hangs is stopped with every process Wine
        // started for it, and never with the Maker.
        m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
        // A file, not a pipe, for Wine's words: the services it starts would hold a pipe open.
        if (!m_errors.isOpen() && !m_errors.open())
            m_process->setStandardErrorFile(QProcess::nullDevice());
        else
            m_process->setStandardErrorFile(m_errors.fileName());
        m_process->start(wine, {program, QStringLiteral("--resident")});
        if (!m_process->waitForStarted(m_timeoutMs))
            return notStarted(m_process->errorString());
        const char first = awaitAnswer(prefixReady(env) ? m_timeoutMs : std::max(m_timeoutMs, firstStartTimeoutMs));
        if (first == bridge::answerRunning)
            return Start::Running;
        // A Wine that gives up explains itself, on either channel, and ends.
        if (first != 0)
            m_process->waitForFinished(2000);
        if (m_process->state() != QProcess::NotRunning) {
            stop();
            return Start::NoAnswer;
        }
        QByteArray said = m_process->readAllStandardOutput();
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
            words = QStringLiteral("Wine hat sich ohne Erklärung mit dem Code %1 beendet.").arg(m_process->exitCode());
        return words;
    }

    Start notStarted(const QString& problem) {
        stop();
        m_problem = problem;
        return Start::NotStarted;
    }

    static bool prefixReady(const QProcessEnvironment& env) {
        const QString prefix = env.value(QStringLiteral("WINEPREFIX"), QDir::homePath() + QStringLiteral("/.wine"));
        return QFile::exists(prefix + QStringLiteral("/system.reg"));
    }

    std::filesystem::path m_bridge;
    QString m_wine;
    std::filesystem::path m_wineFolder;
    int m_timeoutMs;
    std::unique_ptr<QProcess> m_process;
    QTemporaryFile m_errors;
    QString m_problem;
    bool m_told = false;  // whether the user heard this session that the bridge does not start
};

// Each send is answered before send() returns.
class WineSender : public MakerSender {
public:
    explicit WineSender(std::filesystem::path bridge) : m_bridge(std::move(bridge)) {}

    Result send(const std::u16string& text) override {
        switch (m_bridge.ensureRunning()) {
        case Bridge::Start::Running: break;
        case Bridge::Start::NotStarted: return Result::NotStarted;
        case Bridge::Start::Quiet: return Result::NotSent;
        case Bridge::Start::NoAnswer: return Result::NoAnswer;
        }
        m_bridge.write(bridge::textFrame(text));
        const char answer = m_bridge.awaitAnswer(makerAnswerTimeoutMs);
        if (answer == bridge::answerTyped)
            return Result::Sent;
        if (answer == bridge::answerNoDialog)
            return Result::NotSent;
        m_bridge.stop();
        return Result::NoAnswer;
    }

    std::string problem() const override { return m_bridge.problem(); }

private:
    Bridge m_bridge;
};

// A bridge of its own, so a read on the follower's thread never waits for a send, nor a
// send for a read.
class WineReader : public MakerReader {
public:
    WineReader(std::filesystem::path bridge, QString wine, std::filesystem::path wineFolder, int timeoutMs)
        : m_bridge(std::move(bridge), std::move(wine), std::move(wineFolder), timeoutMs) {}

    Reading read() override {
        // Ten reads a second must not start Wine ten times a second: one refusal is final.
        if (m_gaveUp)
            return {Status::NoDialog, {}};
        switch (m_bridge.ensureRunning()) {
        case Bridge::Start::Running: break;
        case Bridge::Start::NotStarted: m_gaveUp = true; return {Status::NotStarted, {}};
        case Bridge::Start::Quiet: return {Status::NoDialog, {}};
        case Bridge::Start::NoAnswer: return {Status::NoAnswer, {}};
        }
        m_bridge.write(bridge::readRequestFrame());
        const char answer = m_bridge.awaitAnswer(m_bridge.timeoutMs());
        if (answer == bridge::answerNoDialog)
            return {Status::NoDialog, {}};
        QByteArray count, units;
        if (answer == bridge::answerText && m_bridge.awaitBytes(count, 4, m_bridge.timeoutMs())) {
            const std::uint32_t n = bridge::countOf(std::string_view(count.constData(), 4));
            if (n <= bridge::maxUnits && m_bridge.awaitBytes(units, 2 * qint64{n}, m_bridge.timeoutMs()))
                return {Status::Read,
                        bridge::unitsOf(std::string_view(units.constData(), static_cast<size_t>(units.size())))};
        }
        m_bridge.stop();
        return {Status::NoAnswer, {}};
    }

    std::string problem() const override { return m_bridge.problem(); }
    void stop() override { m_bridge.close(); }

private:
    Bridge m_bridge;
    bool m_gaveUp = false;
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

std::unique_ptr<MakerReader> systemMakerReader(const std::filesystem::path& bridge) {
    return std::make_unique<WineReader>(bridge, QString(), "/usr/lib/wine", makerAnswerTimeoutMs);
}

std::unique_ptr<MakerReader> wineMakerReader(const std::filesystem::path& bridge, const std::filesystem::path& wine,
                                             const std::filesystem::path& wineFolder, int timeoutMs) {
    return std::make_unique<WineReader>(bridge, QFile::decodeName(QByteArray::fromStdString(wine.string())),
                                        wineFolder, timeoutMs);
}

}  // namespace zeilwerk
