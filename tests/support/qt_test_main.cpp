// GoogleTest main for every Qt test: one QApplication, headless unless
// QT_QPA_PLATFORM says otherwise, with the per-user settings in a fresh
// folder under $TMPDIR so tests neither see nor touch the user's recent
// files, and a single-instance key of their own.
#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

#include <string>

#include "media_tools.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string config = MakeTempFolder("zev-test-config");
    if (config.empty()) return 1;
    qputenv("XDG_CONFIG_HOME", config.c_str());
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    QDir(QString::fromLocal8Bit(config.c_str())).removeRecursively();
    return result;
}
