#pragma once

#include <QString>

class Window;

enum class MessageIcon { None, Information, Error, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Options of the open-file and save-file dialogs. `filter` is written as
// "description|pattern", for example "*.txt|*.txt".
struct FileDialogOptions {
    QString title;
    QString filter;
    QString defaultExtension;
    QString fileName;
    QString initialFolder;
    bool askBeforeOverwrite = false;
};

// Everything the program asks or tells the user in a dialog of its own.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A message box; the title defaults to the application title.
    virtual MessageAnswer message(const QString& text, MessageIcon icon,
                                  MessageButtons buttons = MessageButtons::Ok,
                                  const QString& title = {}) = 0;
    // An input box; cancelling gives the empty text.
    virtual QString inputBox(const QString& prompt, const QString& title = {},
                             const QString& defaultText = {}) = 0;
    // File dialogs; the chosen path, or the empty text when cancelled.
    virtual QString openFile(const FileDialogOptions& options) = 0;
    virtual QString saveFile(const FileDialogOptions& options) = 0;
    // The folder picker; the chosen folder, or the empty text when cancelled.
    virtual QString pickFolder(const QString& title, const QString& startFolder) = 0;
    // Shows a window modally; returns when it is hidden or unloaded.
    virtual void showModal(Window& window) = 0;

    void info(const QString& text) { message(text, MessageIcon::Information); }
    void error(const QString& text) { message(text, MessageIcon::Error); }
    bool askYesNo(const QString& text, MessageIcon icon = MessageIcon::Question);
};
