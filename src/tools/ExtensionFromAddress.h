#pragma once

#include <QString>

// The type a cache row shows: the extension of the last name in an address or a path,
// without query, fragment or other characters that end a name; the empty text when
// that is longer than six characters or there is none. "x://a.b/dir/report.pdf?x=1"
// gives "pdf". With two "://", only the text between them counts.
QString ExtensionFromAddress(const QString& address);
