#include "support/TestApp.h"

#include "app/Startup.h"
#include "platform/browser/CookieJar.h"

TestApp::TestApp()
    : services{runtime,
               dialogs,
               forms,
               settings,
               config,
               shell,
               clipboard,
               screen,
               browsers,
               network,
               AppPaths::under(temp.path()),
               QStringLiteral("http://127.0.0.1:9"),
               QString()} {
    network.setCookieJar(new CookieJar(&network));
    Startup::registerWindows(services);
}
