#pragma once

#include <QString>

// A helper program the tests start as a child process (orvellin_test_child), for what
// must happen in another process: being killed in the middle of writes, reading the
// real per-user paths without the tests' standard-path mode, or running as another user.
namespace TestChild {

inline QString program() {
    return QStringLiteral(ORVELLIN_TEST_CHILD);
}

// The value the settings writer stores at its `step`-th write, under key "k<step % 10>"
// of section "设置": long enough that a torn file would show, and naming its step.
inline QString settingsPayload(int step) {
    return QString::number(step) + QStringLiteral(":") +
           QStringLiteral("下载文件保存路径,;=\"").repeated(400) + QStringLiteral(":") +
           QString::number(step);
}

}  // namespace TestChild
