#include <gtest/gtest.h>

#include <QApplication>

namespace {
QtMessageHandler qtDefaultHandler = nullptr;

// The offscreen platform cannot raise windows; the start-up sequence asks it to on every run.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("does not support raise")))
        qtDefaultHandler(type, context, text);
}
}  // namespace

// GUI tests run on the offscreen platform unless a display test asks for a real one.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtDefaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
