#pragma once

#include <QString>

#include "download/DownloadEntry.h"
#include "download/DuplicatePolicy.h"

class DownloadEntry;
class Dialogs;
class ListView;

// What happens to an entry's name, folder and file before its transfer starts.

// The entry's name made safe for the file system (CleanFileName) and written back. A
// name that cleans to nothing takes the cleaned file name of the entry's current
// address without its extension, and then "未命名": no file is named by its
// extension alone.
void CleanEntryName(DownloadEntry& entry);

// Makes the entry's folder exist (CreateFolderPath, which tells the user about a bad
// folder name) and stores it back ending in "/". A folder that cannot be made as
// asked fails the entry ("下载失败") with its folder text unchanged, so nothing is
// written anywhere else; the answer is false then.
bool PrepareEntryFolder(DownloadEntry& entry, Dialogs& dialogs);

// The skip test on the entry's EntryFilePath, its folder first stored back ending in
// "/": false when a file of that path exists and the policy is "跳过"; the entry is
// then settled as Done, its sizes showing the file's length and its progress
// "已存在，跳过". True when the entry must be downloaded.
bool 确定是需要下载(DownloadEntry& entry, DuplicatePolicy policy);

// Claims the target of a transfer that starts: where nothing exists at the path,
// writes the two placeholder bytes 01 00 and records the file as the entry's
// `ownedFile`, so that names given later see the path taken. An existing file is
// never touched (the answer is false then, as when the folder is not writable).
bool ReserveTarget(DownloadEntry& entry, const QString& path);

// Adds a document found by a search as the hand-over does: named after its title (line
// breaks removed, trimmed) or, with `nameByFileName`, after the link's file name without
// its extension, and cleaned (CleanEntryName) so that the name is safe and never empty.
DownloadEntry AddFoundDocument(ListView& list, const QString& link, const QString& title,
                               const QString& type, const QString& folder,
                               const QString& sourcePage, bool nameByFileName);
