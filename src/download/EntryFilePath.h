#pragma once

#include <QString>

class DownloadEntry;

// The file of an entry: folder + name + "." + type, or folder + name when the type is
// empty. Every operation that opens, checks or deletes an entry's file uses it.
QString EntryFilePath(const DownloadEntry& entry);
