#pragma once

#include <QString>

#include "app/AppPaths.h"

class Runtime;
class Dialogs;
class Forms;
class SettingsStore;
struct Config;
class Shell;
class Clipboard;
class ScreenMetrics;
class SoundPlayer;
class BrowserFactory;
class RequestFactory;

// What the windows are given: the platform's interfaces, the settings and the shared
// configuration values. The desktop program, the batch modes and the tests each build
// one with their own implementations.
struct AppServices {
    Runtime& runtime;
    Dialogs& dialogs;
    Forms& forms;
    SettingsStore& settings;
    Config& config;
    Shell& shell;
    Clipboard& clipboard;
    ScreenMetrics& screen;
    // Plays the sound cues; silent in the batch modes.
    SoundPlayer& sound;
    BrowserFactory& browsers;
    // Every request of the run is made by it; its cookie jar is the run's only one.
    RequestFactory& requests;
    AppPaths paths;
    // Scheme and host of the search engine.
    QString searchBase;
    // The maker's web site; empty when none is configured.
    QString makerSite;
};
