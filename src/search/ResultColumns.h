#pragma once

#include <QString>

// The result list ListView1: a row's text is the title, its key the link and its tag the
// source page; the columns after the title follow.
namespace ResultColumns {

enum Column { kTitle, kType, kStatus, kSaveFolder };

// The status of an entry handed over to the download list.
inline const QString kHandedOver = QStringLiteral("成功");

}  // namespace ResultColumns
