#pragma once

// The download window's run values that its parts share; they live as long as the window.
struct DownloadRunState {
    // A download run is busy: set when a transfer starts, cleared by the supervisor and
    // by StopDownload. List operations and sorting wait while it is set.
    bool downloadBusy = false;
    // When the last transfer ended or was cut off (runtime seconds, monotonic).
    double lastTransferEnd = 0;
};
