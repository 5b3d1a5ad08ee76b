#pragma once

#include "platform/browser/BrowserFactory.h"

class QNetworkAccessManager;
class Runtime;

// Makes headless browsers that fetch through the run's network (and its cookie jar).
class HeadlessBrowserFactory final : public BrowserFactory {
  public:
    HeadlessBrowserFactory(Runtime& runtime, QNetworkAccessManager& network)
        : runtime_(runtime), network_(network) {}
    Browser* create(QObject* owner, const QString& name) override;

  private:
    Runtime& runtime_;
    QNetworkAccessManager& network_;
};
