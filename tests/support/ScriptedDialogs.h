#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "platform/dialogs/Dialogs.h"

// Dialogs for tests: every dialog the program shows is recorded, and answered from a
// script written in the order the program asks. A dialog the script did not expect
// fails the test, and so does an expected one that never came.
class ScriptedDialogs final : public Dialogs {
  public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder, Modal };
    struct Shown {
        Kind kind;
        QString text;  // message text, input prompt, dialog title or window name
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        QString title;
        FileDialogOptions options;
    };

    ~ScriptedDialogs() override;

    // A message box with this text and icon, answered with OK (or `answer` for a question).
    ScriptedDialogs& expectMessage(const QString& text,
                                   MessageIcon icon = MessageIcon::Information);
    ScriptedDialogs& expectQuestion(const QString& text, MessageAnswer answer,
                                    MessageIcon icon = MessageIcon::Question);
    ScriptedDialogs& expectInput(const QString& prompt, const QString& answer);
    ScriptedDialogs& expectOpenFile(const QString& answer);
    ScriptedDialogs& expectSaveFile(const QString& answer);
    ScriptedDialogs& expectFolder(const QString& answer);
    // A window shown modally; `script` acts in it (it should close or hide it).
    ScriptedDialogs& expectModal(const QString& windowName, std::function<void(Window&)> script);

    const QList<Shown>& shown() const { return shown_; }
    QStringList messageTexts() const;
    int pending() const { return int(script_.size()); }

    MessageAnswer message(const QString& text, MessageIcon icon, MessageButtons buttons,
                          const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString openFile(const FileDialogOptions& options) override;
    QString saveFile(const FileDialogOptions& options) override;
    QString pickFolder(const QString& title, const QString& startFolder) override;
    void showModal(Window& window) override;

  private:
    struct Step {
        Kind kind;
        QString text;
        MessageIcon icon = MessageIcon::None;
        MessageAnswer answer = MessageAnswer::Ok;
        QString reply;
        std::function<void(Window&)> modal;
    };
    // The next step, when it is of this kind (and text, where given); else a failure.
    bool take(Kind kind, const QString& text, Step& step);

    QList<Step> script_;
    QList<Shown> shown_;
};
