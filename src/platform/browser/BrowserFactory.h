#pragma once

#include <QString>

class Browser;
class QObject;

// Makes the embedded browsers of the windows (WebEngine on the desktop, the headless
// browser in batch runs, fakes in tests). The browser belongs to `owner`'s window and
// carries `name` as its object name, the name of the form widget it fills.
class BrowserFactory {
  public:
    virtual ~BrowserFactory() = default;
    virtual Browser* create(QObject* owner, const QString& name) = 0;
    // Empties the HTTP cache the browsers keep of their own, where they keep one; cookies
    // stay. It may finish after the call returns.
    virtual void clearHttpCache() {}
};
