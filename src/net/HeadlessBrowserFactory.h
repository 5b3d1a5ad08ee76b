#pragma once

#include "platform/browser/BrowserFactory.h"

class RequestFactory;
class Runtime;
class UrlCache;

// Makes headless browsers that fetch through the run's requests (and its cookie jar),
// keeping the documents they meet in `cache` when one is given.
class HeadlessBrowserFactory final : public BrowserFactory {
  public:
    HeadlessBrowserFactory(Runtime& runtime, RequestFactory& requests, UrlCache* cache = nullptr)
        : runtime_(runtime), requests_(requests), cache_(cache) {}
    Browser* create(QObject* owner, const QString& name) override;

  private:
    Runtime& runtime_;
    RequestFactory& requests_;
    UrlCache* cache_;
};
