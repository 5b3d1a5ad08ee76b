#include "platform/dialogs/TerminalDialogs.h"

#include "platform/window/Window.h"

MessageAnswer TerminalDialogs::message(const QString& text, MessageIcon icon,
                                       MessageButtons buttons, const QString&) {
    const QString kind = icon == MessageIcon::Error ? QStringLiteral("error: ") : QString();
    out_ << "orvellin: " << kind
         << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    out_.flush();
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

QString TerminalDialogs::inputBox(const QString&, const QString&, const QString&) {
    return {};
}

QString TerminalDialogs::openFile(const FileDialogOptions&) {
    return {};
}

QString TerminalDialogs::saveFile(const FileDialogOptions&) {
    return {};
}

QString TerminalDialogs::pickFolder(const QString&, const QString&) {
    return {};
}

void TerminalDialogs::showModal(Window& window) {
    window.close();
}
