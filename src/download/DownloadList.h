#pragma once

#include <QString>
#include <functional>

#include "download/DownloadEntry.h"
#include "download/EntryFilePath.h"
#include "platform/controls/ListView.h"

// The operations on the download list that are not the window's own: adding entries,
// their file paths and address alternatives, the finished test and the sort.

// Appends an entry in state Waiting with empty size, received and percentage texts and
// no owned file. On addresses that are already a key the list stays as it was and the
// entry is invalid.
DownloadEntry AddEntry(ListView& list, const QString& addresses, const QString& name,
                       const QString& type, const QString& folder, const QString& referrer);

// The current address: the text before the first "|" (all of it when there is none).
QString 选择url(const QString& addresses);
// Moves the last of two or three alternatives to the front (a|b gives b|a, a|b|c gives
// c|a|b); one address, or four and more, stay as they are.
QString 对调url(const QString& addresses);

// Visits every entry first to last with the list hidden, so that a bound view is
// repainted once; an empty list stays untouched.
void ForEachEntry(ListView& list, const std::function<void(DownloadEntry&)>& visit);

// True when every entry is Done or Failed; an empty list is finished.
bool 检测是否下载列表完毕(ListView& list);
// The entries whose size, received and percentage texts are all empty.
int 统计未下载项数目(ListView& list);
// Whether a type names a web page: "htm" or "html", and "xml" when asked (any case).
bool IsWebPageType(const QString& type, bool xmlToo = false);
// The entries of a web-page type ("htm", "html") plus the Failed entries of other types.
int CountErrorOrPageEntries(ListView& list);
// The entry counts as the status bar shows them: "总数:12 正在下载:2 等待:5 已完成:4 失败:1".
QString StatusCountsText(ListView& list);

// Deletes the file at the entry's path, but only when it is the file the program made
// for the entry: a file that was there before is never lost to a reset.
void DeleteOwnedEntryFile(DownloadEntry& entry);

// Sorts once by a column (DownloadEntry::Column), later additions appending at the end.
// Numbers in the size, received and percentage columns sort by value; their texts come
// back as plain numbers ("45%" in the percentage column). Other texts stay as they are.
void SortDownloadList(ListView& list, int column, ListView::SortOrder order);
