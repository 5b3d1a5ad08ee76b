#pragma once

#include <QStringList>

#include "tools/SameNameCopy.h"

class CopyMoveHost;
class Runtime;

// The copy/move tool's job: copies each of `files`, in order, into `destination`
// (ending in "/") under the same-name rule, and in move mode deletes each source whose
// complete copy exists. Files that already lie in the destination folder are left
// alone. It yields once per file (after showing its name), and ends before the next
// file once the host says so; the file in hand is finished first.
void RunCopyMoveJob(const QStringList& files, const QString& destination, SameNameRule rule,
                    bool move, CopyMoveHost& host, Runtime& runtime);
