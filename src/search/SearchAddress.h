#pragma once

#include <QList>
#include <QString>

#include "search/SearchOptions.h"

// The search engine's scheme and host when nothing else is configured.
inline const QString kDefaultSearchBase = QStringLiteral("https://search.yahoo.com");

// The search engine's scheme and host for the run: the command line's --search-base
// value, else the ORVELLIN_SEARCH_BASE environment value, else kDefaultSearchBase.
// The chosen text must be an http or https address with a host; a trailing "/" is
// dropped. Gives the empty text when the chosen text is not such an address.
QString ChooseSearchBase(const QString& commandLineValue, const QString& environmentValue);

// The percent-encoding of a keyword group: "%" first, then every character outside
// ASCII as the upper-case escapes of its UTF-8 bytes, then "#", "^", "&" and "+".
// Every other ASCII character, blanks included, stays as it is.
QString EncodeQueryText(const QString& text);

// The result-page address of one keyword group and file type; the empty text when the
// group is empty after trimming.
QString BuildSearchAddress(const QString& searchBase, const QString& group, const FileType& type,
                           const SearchOptions& options);

// The checked file types, in the order a batch runs them.
QList<FileType> CheckedFileTypes(const SearchOptions& options);
