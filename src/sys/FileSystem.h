#pragma once

#include <QString>
#include <QStringList>

class Dialogs;

// Paths, files and folders. Paths use "/" as the separator; a rule stated for "\" holds
// for "/". Failures fold into the result (false, the empty text, the unchanged input).

// A file (not a folder) exists. "file:///x" names the absolute path "/x".
bool FileExists(const QString& path);
// The path FileExists tests: trimmed, "file:///x" as "/x", every "\" as "/".
QString LocalPath(const QString& path);
// A folder exists.
bool FolderExists(const QString& path);

// Creates every missing folder along the path, each part cleaned with CleanFileName,
// and gives the deepest path that exists at the end without a trailing "/", or the
// empty text. An empty part ends the walk; a part that cleans to nothing shows
// "文件夹名称有误！不能创建文件夹！" and ends it too.
QString CreateFolderPath(const QString& path, Dialogs& dialogs);

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
