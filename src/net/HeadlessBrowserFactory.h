#pragma once

#include "platform/browser/BrowserFactory.h"

class RequestFactory;
class Runtime;

// Makes headless browsers that fetch through the run's requests (and its cookie jar).
class HeadlessBrowserFactory final : public BrowserFactory {
  public:
    HeadlessBrowserFactory(Runtime& runtime, RequestFactory& requests)
        : runtime_(runtime), requests_(requests) {}
    Browser* create(QObject* owner, const QString& name) override;

  private:
    Runtime& runtime_;
    RequestFactory& requests_;
};
