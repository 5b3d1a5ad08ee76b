#pragma once

// The search window's run flags; they live as long as the window.
struct SearchRunState {
    // From the start of a navigation or next-page click until the browser reports the
    // top-level document complete.
    bool pageLoading = false;
    // True when no add-all run is active, or its stop was requested.
    bool addAllStop = true;
    // True when no hand-over pass is active, or its stop was requested.
    bool handOverStop = true;
    // True when no batch run is active, or its stop was requested.
    bool batchStop = true;
    // Raised by the extraction when the engine shows its verification page.
    bool verificationDemanded = false;
};
