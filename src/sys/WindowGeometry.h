#pragma once

#include <QString>

class Window;
class SettingsStore;
class ScreenMetrics;

// The screen size in pixels, as "1920*1080".
QString ScreenResolutionText(const ScreenMetrics& screen);
// Stores a window's position record in the section named after the window: "0*0"
// alone for a maximised window, else the resolution and the edges in twips.
void SaveWindowGeometry(const Window& window, SettingsStore& settings, const ScreenMetrics& screen);
// Restores it: maximised when the stored resolution is not today's, else the stored
// position and size within their minimums, in the normal state.
void RestoreWindowGeometry(Window& window, const SettingsStore& settings,
                           const ScreenMetrics& screen);
