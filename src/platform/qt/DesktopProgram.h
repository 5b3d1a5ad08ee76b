#pragma once

// The desktop program: the Qt application, the real implementations of the platform
// interfaces, the windows, and the event loop.
namespace DesktopProgram {
int run(int argc, char** argv);
}
