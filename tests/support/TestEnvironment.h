#pragma once

// The environment every test runs in. CTest's ENVIRONMENT property reaches tests that
// gtest_discover_tests registers with its first entry only, so the test mains set the
// rest themselves (a value given from outside wins).

#include <QByteArray>
#include <QtGlobal>

inline void useTestEnvironment() {
    const auto byDefault = [](const char* name, const QByteArray& value) {
        if (qEnvironmentVariableIsEmpty(name)) {
            qputenv(name, value);
        }
    };
    byDefault("QT_QPA_PLATFORM", "offscreen");
    byDefault("QTWEBENGINE_DISABLE_SANDBOX", "1");
    byDefault("QT_LOGGING_RULES", "qt.qpa.*=false");
    byDefault("ORVELLIN_FIXTURES", ORVELLIN_FIXTURES_DIR);
}

#ifdef ORVELLIN_SANITIZE_BUILD
// The sanitizers read these before main(); WebEngine's own leaks and its
// new/delete pairs are not ours to report.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0:detect_leaks=1:abort_on_error=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6WebEngineCore.so\nleak:libfontconfig.so\n";
}
extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
#endif
