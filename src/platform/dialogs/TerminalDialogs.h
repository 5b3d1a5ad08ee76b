#pragma once

#include <QTextStream>

#include "platform/dialogs/Dialogs.h"

// Dialogs of a run on the terminal, for scripts: messages are printed, nothing ever
// waits for an answer. Questions and input boxes are answered as if cancelled, file
// and folder dialogs choose nothing, and a modal window is closed at once.
class TerminalDialogs final : public Dialogs {
  public:
    explicit TerminalDialogs(QTextStream& out) : out_(out) {}

    MessageAnswer message(const QString& text, MessageIcon icon, MessageButtons buttons,
                          const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString openFile(const FileDialogOptions& options) override;
    QString saveFile(const FileDialogOptions& options) override;
    QString pickFolder(const QString& title, const QString& startFolder) override;
    void showModal(Window& window) override;

  private:
    QTextStream& out_;
};
