#pragma once

#include <QList>
#include <QPointer>

#include "platform/dialogs/Dialogs.h"

class QEventLoop;
class QtWindowHost;
class Runtime;

// The dialogs of the desktop program. The program's end rejects every open dialog and
// ends every modal window loop.
class QtDialogs final : public Dialogs {
  public:
    // `defaultTitle` captions the boxes that are given no title.
    QtDialogs(Runtime& runtime, const QString& defaultTitle);

    // The host that knows the windows' forms (made after the collection of windows).
    void setWindowHost(QtWindowHost* host) { host_ = host; }

    MessageAnswer message(const QString& text, MessageIcon icon, MessageButtons buttons,
                          const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString openFile(const FileDialogOptions& options) override;
    QString saveFile(const FileDialogOptions& options) override;
    QString pickFolder(const QString& title, const QString& startFolder) override;
    void showModal(Window& window) override;

  private:
    void rejectAll();

    Runtime& runtime_;
    const QString defaultTitle_;
    QtWindowHost* host_ = nullptr;
    QList<QPointer<QEventLoop>> modalLoops_;
};
