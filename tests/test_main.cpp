#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "support/own_settings.h"

// Every test process gets its own settings store and data folder, so no test sees another's "IN" or
// "OUT" and no test touches the user's real settings.
int main(int argc, char** argv) {
    QTemporaryDir config;
    test_support::useOwnSettings(config.path());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
