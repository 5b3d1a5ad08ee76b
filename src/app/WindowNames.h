#pragma once

#include <QString>

// The names of the program's windows, under which Forms loads and finds them. They live
// here, below every window, so that a window can name one that sits above it in the
// layers (the start window opens the search window) without including it.
namespace WindowNames {

inline const QString kCover = QStringLiteral("fCover");
inline const QString kOptions = QStringLiteral("fOption");
inline const QString kSavePath = QStringLiteral("fSeleFileSavePath");
inline const QString kSearch = QStringLiteral("fWebSearch");
inline const QString kDownload = QStringLiteral("fFileDownload");
inline const QString kIEcache = QStringLiteral("fIEcache");
inline const QString kCopyMove = QStringLiteral("Form_Copy_Move");
inline const QString kUrlReplace = QStringLiteral("UrlReplace");

}  // namespace WindowNames
