#pragma once

class DownloadEntry;
class ListView;

// The operations on the download list behind the window's list menu.

// Puts a finished entry back in the queue: its file is deleted only when it is the
// entry's own (a file that was there before stays), the state becomes Waiting, a
// web-page type (or any type when `alwaysUnknownType`) becomes "xxx" for the next
// download to decide, the progress texts are emptied, and the addresses rotate so the
// next attempt starts with the next alternative (unless another entry holds the
// rotated text).
void RequeueEntry(DownloadEntry& entry, bool alwaysUnknownType);

// Re-download: every Failed entry.
void RequeueFailed(ListView& list);
// Re-download: every Done or Failed entry of type "htm", "html" or "xml".
void RequeueWebPages(ListView& list);
