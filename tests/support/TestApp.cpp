#include "support/TestApp.h"

#include "program/Startup.h"

TestApp::TestApp(Network network)
    : requests(network == Network::Fake ? FakeNetwork::owned(runtime, this->network)
                                        : std::make_unique<QNetworkAccessManager>(),
               [this]() -> std::unique_ptr<QNetworkAccessManager> {
                   if (this->network) {
                       return this->network->sibling();
                   }
                   return std::make_unique<QNetworkAccessManager>();
               }),
      services{runtime,
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
