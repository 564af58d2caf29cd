// The main of the window tests: the offscreen platform, one application
// object for all cases, then the cases.

#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QtMessageHandler g_previousHandler = nullptr;

// The offscreen platform says at every window that it cannot do what only a
// real screen does (raise, size hints); that says nothing about the tests.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    g_previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    g_previousHandler = qInstallMessageHandler(FilterMessages);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
