#pragma once

class DownloadEntry;
class DownloadHost;
struct DownloadOptions;

// What every ended transfer announces, by either method: cue 101 when the entry turned out
// a web page ("htm", "html", and "xml" when `xmlIsWebPage`), cue 103 when it failed (both
// only with the sound notice ticked), and the web login when automatic login is ticked
// and a web page arrived. A closing window hears nothing and logs in nowhere.
void AnnounceTransferEnd(DownloadHost& host, const DownloadEntry& entry,
                         const DownloadOptions& options, bool xmlIsWebPage);
