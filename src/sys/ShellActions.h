#pragma once

#include <QDate>
#include <QString>

class Shell;
class Dialogs;

// The shell operations of the windows, over the desktop's handlers.

// Opens a file with its associated program; "文件不存在！" when there is no such file.
// The path is read as FileExists reads it ("file:///x" names "/x").
void OpenWithShell(const QString& path, Shell& shell, Dialogs& dialogs);
// Opens the file's folder with the file selected; true when the desktop did.
bool ShowInFolder(const QString& path, Shell& shell);
// A page of the maker's site: the site without its trailing "/" and then `path`
// ("/custom/"); empty when no site is set.
QString MakerPage(const QString& makerSite, const QString& path);
// The maker's page of this program: the site, "/", the executable's name and "/".
QString ProgramPage(const QString& makerSite);
// Opens a web address in the desktop's web browser.
void OpenWebPage(const QString& address, Shell& shell);
// The folder picker, starting at the initial path's folder (the home folder when the
// path is empty or its folder is missing). Gives the chosen folder, or the initial
// path when cancelled, in both cases ending in "/".
QString BrowseForFolder(Dialogs& dialogs, const QString& initialPath, const QString& title,
                        const QString& homeFolder);
// Opens a feedback mail to "feedback@" and the maker site's host in the mail program,
// with the subject and the form of the body filled in and `today` as its date. False,
// and nothing opened, when no maker site is set.
bool SendFeedbackMail(Shell& shell, const QString& makerSite, const QString& programName,
                      const QDate& today);
