#pragma once

#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/window/Window.h"
#include "search/SearchRunState.h"

class Browser;
struct AppServices;

// The search window: the embedded browser that shows the engine's result pages, and
// the result list that their extraction fills.
class fWebSearch final : public Window {
  public:
    static inline const QString kName = QStringLiteral("fWebSearch");

    fWebSearch(Forms& forms, AppServices& services);

    ListView* ListView1;
    Label* Label1;
    CheckBox* Check1;
    CheckBox* Check2;
    CheckBox* Check12;
    // Null when the program runs without browsers.
    Browser* WebBrowser1;

    SearchRunState runState;

    // Adds every accepted result of the page shown in WebBrowser1 to ListView1 with
    // `saveFolder`, and shows the number of entries in Label1. The verification page
    // adds nothing and raises runState.verificationDemanded.
    void ExtractResultPage(const QString& saveFolder);
    // Adds one result entry; a link already in the list changes nothing.
    void 加入LV1(const QString& title, const QString& link, const QString& sourcePage,
                 const QString& type, const QString& saveFolder);
};
