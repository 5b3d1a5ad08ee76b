#pragma once

#include "app/WindowNames.h"
#include "platform/window/Forms.h"

// Whose caches a clearing reaches: the program's exit clears the current user's alone,
// the menus every profile's that the viewer lists.
enum class CacheReach { CurrentUser, EveryProfile };

// The browser cache viewer as the windows below the tools reach it: by the window's name,
// so that the application level never depends on the tools.
class BrowserCacheViewer {
  public:
    virtual ~BrowserCacheViewer() = default;

    // Lists and deletes the cache's index entries, then its folders' files, unloads the
    // viewer and, with the flag, says "IE缓存清空完毕！".
    virtual void ClearBrowserCache(bool showMessage, CacheReach reach) = 0;
};

// Empties the browser cache through a viewer that is made without being shown.
inline void ClearBrowserCache(Forms& forms, bool showMessage, CacheReach reach) {
    if (auto* viewer = forms.load<BrowserCacheViewer>(WindowNames::kIEcache)) {
        viewer->ClearBrowserCache(showMessage, reach);
    }
}
