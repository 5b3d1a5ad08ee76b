#pragma once

struct AppServices;

// The program's windows and its start: every window is registered with the
// collection of windows, then the start window loads.
namespace Startup {
void registerWindows(AppServices& services);
void start(AppServices& services);
}  // namespace Startup
