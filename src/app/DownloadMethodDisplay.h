#pragma once

// What the options dialog changes in the download window when the download method is
// confirmed. The window implements it; the dialog finds it by the window's name, so the
// application level never depends on the download side.
class DownloadMethodDisplay {
  public:
    virtual ~DownloadMethodDisplay() = default;

    // Shows the method in the window's method label and starts its slot-count choice
    // at one slot, enabled only for the parallel-slot method (2).
    virtual void ApplyDownloadMethod(int method) = 0;
};
