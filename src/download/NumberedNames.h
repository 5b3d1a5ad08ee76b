#pragma once

#include <QString>

#include "download/DuplicatePolicy.h"

// The longest file name Linux allows, in UTF-8 bytes. Every name formed here, number
// and extension included, stays within it: the base is cut (whole characters).
inline constexpr qsizetype kNameMaxBytes = 255;

// The folder with "/" appended when it does not end in one.
QString WithTrailingSlash(const QString& folder);

// Something exists at the path: a file (hidden and read-only ones too), a folder, or a
// link, even one that points nowhere. A taken name is never written over.
bool PathTaken(const QString& path);

// The target of a transfer about to start, from the entry's folder, name and type;
// `newName` gets the name the entry takes. With "覆盖", or when the plain name is free,
// the plain name. Otherwise the name is numbered with three digits ("报告[001]"): a
// bracketed counter of one to nine digits anywhere in the name is where counting
// goes on (the text from its "[" on is dropped), other brackets become "『" and "』",
// and the counter grows until the path is free.
QString 重命名保存路径(const QString& folder, const QString& name, const QString& type,
                       DuplicatePolicy policy, QString& newName);

// The path unchanged when it is free, else its first free variant numbered with four
// digits ("a[0001].pdf"), the base cut to 100 characters and a counter ending it
// dropped first.
QString UniqueFilePath(const QString& path);
