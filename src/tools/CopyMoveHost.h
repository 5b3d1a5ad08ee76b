#pragma once

#include <QString>

// What the copy/move job reads from and shows in its window.
class CopyMoveHost {
  public:
    virtual ~CopyMoveHost() = default;

    // False once the job is to end: after a stop, a close or the program's end.
    virtual bool jobRunning() const = 0;
    // The job reached file `number` (from 1).
    virtual void fileReached(int number) = 0;
    // The job is about to copy a file under `name`.
    virtual void copyingAs(const QString& name) = 0;
};
