#pragma once

#include <QString>

// The desktop program: the Qt application, the real implementations of the platform
// interfaces, the windows, and the event loop.
namespace DesktopProgram {
// `commands` describes the terminal commands in the help text.
int run(int argc, char** argv, const QString& commands = {});
}  // namespace DesktopProgram
