#pragma once

#include <QList>
#include <QPointer>

#include "platform/browser/BrowserFactory.h"

class FakeBrowser;
class Runtime;

class FakeBrowserFactory final : public BrowserFactory {
  public:
    explicit FakeBrowserFactory(Runtime& runtime) : runtime_(runtime) {}
    Browser* create(QObject* owner, const QString& name) override;
    void clearHttpCache() override { ++httpCacheClears_; }
    int httpCacheClears() const { return httpCacheClears_; }
    // The browsers made so far that still exist, newest last.
    QList<FakeBrowser*> browsers() const;

  private:
    Runtime& runtime_;
    QList<QPointer<FakeBrowser>> made_;
    int httpCacheClears_ = 0;
};
