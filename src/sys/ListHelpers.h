#pragma once

#include <QList>
#include <QString>

class ListView;
class HtmlDocument;
class HtmlElement;
class ComboBox;
class ScreenMetrics;

// Helpers for the windows' lists and drop-down lists.

// Sets the width of a column (from 1) in pixels; -2 fits it to the wider of content
// and header. A column that does not exist is left alone.
void SetColumnWidth(ListView& list, int column, int width);
// SetColumnWidth for every column.
void AutoSizeColumns(ListView& list, int width);
// Alternating rows: the pale green 0xEDF8E7 (blue-green-red order) and white, rows of
// `rowHeight` pixels.
void PaintRowStripes(ListView& list, int rowHeight);

// Fills a drop-down list from a history file (GBK, one entry per line): at most the
// first 100 non-empty lines count, duplicates (ignoring case) are skipped. A missing
// file leaves the list as it was.
void LoadComboHistory(ComboBox& combo, const QString& path);
// Writes every entry of the list as a line (GBK, CR LF), replacing the file whole.
void SaveComboHistory(const ComboBox& combo, const QString& path);
// The whole numbers from `from` to `to` as texts, for a choice list.
QStringList WholeNumbers(int from, int to);
// Widens the drop-down part so that the longest entry fits, never past the screen.
void FitComboDropWidth(ComboBox& combo, const ScreenMetrics& screen);

// The text without carriage returns, line feeds and NULs.
QString RemoveLineBreaks(const QString& text);
// One line of tab-separated fields ending in LF; a tab, CR or LF inside a field becomes
// a blank.
QString TsvLine(const QStringList& fields);

// The elements of a tag name in the document (or within one element), in document
// order, whose trimmed class name equals `className` ignoring case (`exact`) or contains
// it ignoring case. Empty without a document.
QList<HtmlElement> FindElementsByClass(const HtmlDocument* document, const QString& tag,
                                       const QString& className, bool exact);
QList<HtmlElement> FindElementsByClass(const HtmlElement& container, const QString& tag,
                                       const QString& className, bool exact);
