#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStandardPaths>

#include "support/TestEnvironment.h"

// Tests never touch the user's real settings or data: Qt's test mode moves every
// standard location to a folder of its own.
int main(int argc, char** argv) {
    useTestEnvironment();
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
