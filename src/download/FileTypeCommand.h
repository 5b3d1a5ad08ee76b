#pragma once

#include <QStringList>

class QTextStream;

// `orvellin filetype FILE...`: prints each file's path, a tab and its type judged from
// its content (empty when unknown), one line per file. Answers the exit code: 0, or 2
// when a path is not an existing file (said on `err`) or no path was given.
int RunFileTypeCommand(const QStringList& paths, QTextStream& out, QTextStream& err);
