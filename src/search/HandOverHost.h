#pragma once

// What a hand-over pass needs of the search window that runs it: its progress panel, its
// automatic mode and the save-path question.
class HandOverHost {
  public:
    virtual ~HandOverHost() = default;

    // A pass started (the progress panel shows in front) or ended (the panel hides).
    virtual void showPassRunning(bool running) = 0;
    // The automatic mode is on: Timer1 runs.
    virtual bool automaticMode() const = 0;
    // Shows the save-path dialog modally; true when it was confirmed.
    virtual bool confirmSaveFolder() = 0;
};
