#pragma once

#include <QString>

// A name made safe for the file system: without the characters a file name cannot
// hold, line breaks and NULs, without leading and trailing dots, cut to 200 GBK bytes
// and then to 230 UTF-8 bytes (whole characters), so that a number and an extension
// still fit in the 255 bytes a Linux name may have. The result may be empty.
QString CleanFileName(const QString& name);

// The longest start of `text` within `maxBytes` UTF-8 bytes, never cutting a character.
QString CutToUtf8Bytes(const QString& text, qsizetype maxBytes);

// The first `maxCharacters` UTF-16 units of a text, one fewer when the last one kept
// would be the first half of a surrogate pair.
QString CutToCharacters(const QString& text, qsizetype maxCharacters);
