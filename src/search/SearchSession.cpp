#include "search/SearchSession.h"

#include "app/Startup.h"
#include "platform/browser/CookieJar.h"
#include "search/fWebSearch.h"

SearchSession::SearchSession(const QString& searchBase, QTextStream& messages)
    : dialogs_(messages),
      services_{runtime_,
                dialogs_,
                forms_,
                settings_,
                config_,
                desktop_,
                desktop_,
                desktop_,
                browsers_,
                network_,
                AppPaths::forCurrentUser(),
                searchBase,
                QString()} {
    network_.setCookieJar(new CookieJar(&network_));
    Startup::registerWindows(services_);
    window_ = forms_.load<fWebSearch>(fWebSearch::kName);
}

SearchSession::~SearchSession() = default;
