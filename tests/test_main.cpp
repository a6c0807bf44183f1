#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Every test process gets its own settings store and data folder, so no test sees another's "IN" or
// "OUT" and no test touches the user's real settings.
int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", config.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
