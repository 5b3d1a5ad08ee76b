#pragma once

#include <QString>
#include <optional>

class DownloadEntry;
class ListView;

// The re-download, removal and deletion families of the window's list menu. Walks over
// the whole list visit the entries first to last with the list hidden, so that it is
// repainted once.

// Which entries an item of 重新下载 puts back in the queue.
enum class RequeueChoice {
    Selected,          // selected, and Done or Failed
    Failed,            // Failed
    WebPages,          // type htm, html or xml, and Done or Failed; the type becomes "xxx"
    FailedOrWebPages,  // Failed; or type htm or html and Done
};
// Which entries an item of 移除(不删除文件) removes; their files stay on disk.
enum class RemovalChoice { Selected, Done, NotDone, Failed };
// Which entries an item of 删除文件(不移除) treats.
enum class DeletionChoice {
    WebPages,  // type htm, html or xml, and Done or Failed
    Failed,    // Failed
    Selected,  // selected and not downloading, and put back in the queue
};

// Puts a finished entry back in the queue: its file is deleted only when it is the
// entry's own (a file that was there before stays), the state becomes Waiting, a
// web-page type (or any type when `alwaysUnknownType`) becomes "xxx" for the next
// download to decide, the progress texts are emptied, and the addresses rotate so the
// next attempt starts with the next alternative (unless another entry holds the
// rotated text).
void RequeueEntry(DownloadEntry& entry, bool alwaysUnknownType);
void RequeueEntries(ListView& list, RequeueChoice choice);
// Requeues the Done and Failed entries whose file arrived whole (size and received
// bytes equal, "," ignored) and is smaller than `limitBytes`.
void RequeueSmallFiles(ListView& list, double limitBytes);

// Removes the matching entries; neighbouring matches are all removed.
void RemoveEntries(ListView& list, RemovalChoice choice);

// Deletes the file at the entry's path when there is one, whoever made it: the user
// asked for it by name. Failures are ignored.
void DeleteEntryFile(DownloadEntry& entry);
// Empties the size, received and percentage texts of the matching entries and deletes
// their files; the selected ones go back in the queue. An entry that is downloading is
// left alone: its transfer owns the file, and back in the queue it would get a second
// transfer.
void DeleteEntryFiles(ListView& list, DeletionChoice choice);
// Treats every entry whose size in bytes, divided by 1024, is below `limitKB` as
// DeletionChoice::Selected treats a selected one, whatever its other state.
void DeleteSmallFiles(ListView& list, double limitKB);

// The number a text holds (blanks around it allowed), as the size items read their
// answers and the size columns; nothing for any other text.
std::optional<double> NumberIn(const QString& text);
