#pragma once

#include <QString>
#include <QStringList>

class Dialogs;

// Paths, files and folders. Paths use "/" as the separator; a rule stated for "\" holds
// for "/". Failures fold into the result (false, the empty text, the unchanged input).

// The local path a file text names: trimmed, "file:///x" as the absolute path "/x",
// every "\" as "/".
QString LocalFilePath(const QString& path);
// A file (not a folder) exists at LocalFilePath(path).
bool FileExists(const QString& path);
// A folder exists.
bool FolderExists(const QString& path);

// Writes the file whole: the old file stays until the new one is complete, and stays
// as it was when the write fails. True when the new file is in place; otherwise `error`,
// when given, receives the system's description of the failure.
bool ReplaceFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Creates every missing folder along the path, each part cleaned with CleanFileName,
// and gives the deepest path that exists at the end without a trailing "/", or the
// empty text. An empty part ends the walk; a part that cleans to nothing shows
// "文件夹名称有误！不能创建文件夹！" and ends it too.
QString CreateFolderPath(const QString& path, Dialogs& dialogs);
// The folder made by CreateFolderPath as the absolute path of `folder`, ending in "/"; the
// empty text when it could not be made as asked (a part is a file, or a name cleans to
// another), so that nothing is saved where the user did not ask.
QString CreateFolderAsAsked(const QString& folder, Dialogs& dialogs);

// The directory walks append full paths to the caller's list, which starts with one
// empty element and is never cleared. Each folder's entries are taken in name order
// (case-insensitive, as a Windows volume lists them); with `recursive`, the
// subfolders are walked after the whole folder, depth-first, in the order found.
// "/" is appended to `folder` when it lacks one (the caller sees the change).
// Folders that cannot be listed add nothing; "pagefile.sys" is never listed.
//
// Every subfolder of an absolute folder; a relative folder adds nothing.
void ListSubfolders(QString& folder, QStringList& result, bool recursive);
// Every regular file below the folder (relative folders are taken from the current one).
void ListFiles(QString& folder, QStringList& result, bool recursive);

// The name after the last "/" (a "\" counts as "/"), trimmed; with the flag, without
// the text from its last ".".
QString FileNameOf(const QString& path, bool withoutExtension);
// The extension of the path's name (after its last "."; none when that has 7 or more
// characters); `base` gets the name without it. Both trimmed.
QString SplitFileName(const QString& path, QString& base);
// The folder of a path, up to and including its last "/"; the rest is split into
// `base` and `extension` as by SplitFileName.
QString SplitFullPath(const QString& path, QString& extension, QString& base);
// A bracketed number ending a name ("report[3]" gives "3" and base "report"); the
// empty text, and the whole name as base, otherwise. A number is one to nine digits.
QString SplitNumberSuffix(const QString& name, QString& base);
// The scheme and host of a web address ("x://a.b/c/d" gives "x://a.b").
QString SiteRoot(const QString& address);
// A text that looks like a host name with an optional port ("abc.de", "abc.de:8080").
bool IsHostName(const QString& text);

// The short form of an existing path; Linux names have none, so the path itself. The
// empty text when nothing exists there.
QString GetShortPath(const QString& path);
// The folder of the program's URL cache, `cacheFolder` (the per-user cache folder),
// without a trailing "/"; the empty text when unknown.
QString GetInternetCacheFolder(const QString& cacheFolder);
