#include "app/HeadlessSession.h"

HeadlessSession::HeadlessSession(const QString& searchBase, QTextStream& messages)
    : dialogs_(messages), services_{runtime_,   dialogs_,  forms_,    settings_,
                                    config_,    desktop_,  desktop_,  desktop_,
                                    desktop_,   browsers_, requests_, AppPaths::forCurrentUser(),
                                    searchBase, QString()} {}

HeadlessSession::~HeadlessSession() = default;
