#pragma once

#include <QString>

class FileReader;

// The real type of a file, judged from its content, as a lower-case extension without
// the dot ("pdf", "doc", "htm", "caa"), or empty when it cannot tell or the file cannot
// be read. Reads at most 10241 bytes from the start and 129 from the end, through
// `reader` (a plain FileReader when none is given).
QString 打开文件判断文件类型(const QString& path);
QString 打开文件判断文件类型(const QString& path, FileReader& reader);
