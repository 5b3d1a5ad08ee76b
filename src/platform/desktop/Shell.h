#pragma once

#include <QString>

// The desktop's handlers: files, folders and addresses open with the desktop's
// default programs, always with an argument list, never through a shell command line.
class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a file with its associated program; false when the desktop refused.
    virtual bool openFile(const QString& path) = 0;
    // Opens the file manager at the file's folder with the file selected.
    virtual bool showInFolder(const QString& path) = 0;
    virtual bool openFolder(const QString& path) = 0;
    // Opens a web or mailto address with the default handler.
    virtual bool openUrl(const QString& url) = 0;
    // Opens a text file in the default text editor; false when there is none to start.
    virtual bool openInTextEditor(const QString& path) = 0;
};
