#include "search/SearchSession.h"

#include "search/fWebSearch.h"

SearchSession::SearchSession(const QString& searchBase, QTextStream& messages)
    : dialogs_(messages), services_{runtime_,   dialogs_,  forms_,    settings_,
                                    config_,    desktop_,  desktop_,  desktop_,
                                    desktop_,   browsers_, requests_, AppPaths::forCurrentUser(),
                                    searchBase, QString()} {
    // The batch drives the search window alone.
    forms_.registerWindow(fWebSearch::kName, [this](Forms& forms) {
        return std::make_unique<fWebSearch>(forms, services_);
    });
    window_ = forms_.load<fWebSearch>(fWebSearch::kName);
}

SearchSession::~SearchSession() = default;
