#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include "support/TestEnvironment.h"

int main(int argc, char** argv) {
    useTestEnvironment();
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
