#include "program/Startup.h"

#include "app/AppServices.h"
#include "app/fCover.h"
#include "app/fOption.h"
#include "app/fSeleFileSavePath.h"
#include "download/UrlReplace.h"
#include "download/fFileDownload.h"
#include "platform/window/Forms.h"
#include "search/fWebSearch.h"
#include "tools/Form_Copy_Move.h"
#include "tools/fIEcache.h"

namespace Startup {

void registerWindows(AppServices& services) {
    services.forms.registerWindow(fCover::kName, [&services](Forms& forms) {
        return std::make_unique<fCover>(forms, services);
    });
    services.forms.registerWindow(fFileDownload::kName, [&services](Forms& forms) {
        return std::make_unique<fFileDownload>(forms, services);
    });
    services.forms.registerWindow(UrlReplace::kName,
                                  [](Forms& forms) { return std::make_unique<UrlReplace>(forms); });
    services.forms.registerWindow(fWebSearch::kName, [&services](Forms& forms) {
        return std::make_unique<fWebSearch>(forms, services);
    });
    services.forms.registerWindow(fOption::kName, [&services](Forms& forms) {
        return std::make_unique<fOption>(forms, services);
    });
    services.forms.registerWindow(fSeleFileSavePath::kName, [&services](Forms& forms) {
        return std::make_unique<fSeleFileSavePath>(forms, services);
    });
    services.forms.registerWindow(fIEcache::kName, [&services](Forms& forms) {
        return std::make_unique<fIEcache>(forms, services);
    });
    services.forms.registerWindow(Form_Copy_Move::kName, [&services](Forms& forms) {
        return std::make_unique<Form_Copy_Move>(forms, services);
    });
}

void start(AppServices& services) {
    services.forms.load(fCover::kName);
}

}  // namespace Startup
