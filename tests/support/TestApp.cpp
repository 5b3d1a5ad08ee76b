#include "support/TestApp.h"

#include "program/Startup.h"

TestApp::TestApp()
    : services{runtime,
               dialogs,
               forms,
               settings,
               config,
               shell,
               clipboard,
               screen,
               sound,
               browsers,
               requests,
               AppPaths::under(temp.path()),
               QStringLiteral("http://127.0.0.1:9"),
               QString()} {
    Startup::registerWindows(services);
}
