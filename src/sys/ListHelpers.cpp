#include "sys/ListHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/browser/HtmlDocument.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ListView.h"
#include "platform/desktop/ScreenMetrics.h"
#include "platform/text/Gbk.h"
#include "sys/FileSystem.h"

namespace {
constexpr int kFitToContent = -2;
constexpr int kMaxHistoryLines = 100;
constexpr int kDropDownPadding = 7;
constexpr int kRowsWithoutScrollBar = 9;
constexpr uint32_t kStripeBgr = 0xEDF8E7;
}  // namespace

void SetColumnWidth(ListView& list, int column, int width) {
    if (column < 1 || column > list.columnCount()) {
        return;
    }
    if (width == kFitToContent) {
        list.requestColumnFit(column - 1);
    } else {
        list.setColumnWidth(column - 1, width);
    }
}

void AutoSizeColumns(ListView& list, int width) {
    for (int column = 1; column <= list.columnCount(); ++column) {
        SetColumnWidth(list, column, width);
    }
}

void PaintRowStripes(ListView& list, int rowHeight) {
    list.setRowStripes(Color::fromBgr(kStripeBgr), rowHeight);
}

void LoadComboHistory(ComboBox& combo, const QString& path) {
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString text = Gbk::decode(file.readAll());
    QStringList entries;
    int counted = 0;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        if (++counted > kMaxHistoryLines) {
            break;
        }
        if (!entries.contains(line, Qt::CaseInsensitive)) {
            entries.append(line);
        }
    }
    combo.clear();
    combo.setItems(entries);
}

void SaveComboHistory(const ComboBox& combo, const QString& path) {
    QString text;
    for (const QString& entry : combo.items()) {
        text += entry + QStringLiteral("\r\n");
    }
    if (combo.items().isEmpty()) {
        text = QStringLiteral("\r\n");
    }
    // The per-user data folder may not exist yet on a first run.
    QDir().mkpath(QFileInfo(path).absolutePath());
    ReplaceFile(path, Gbk::encode(text));
}

QStringList WholeNumbers(int from, int to) {
    QStringList numbers;
    for (int number = from; number <= to; ++number) {
        numbers.append(QString::number(number));
    }
    return numbers;
}

void FitComboDropWidth(ComboBox& combo, const ScreenMetrics& screen) {
    QString longest;
    for (const QString& entry : combo.items()) {
        if (entry.size() > longest.size()) {
            longest = entry;
        }
    }
    int width = screen.textWidth(longest, &combo) + kDropDownPadding;
    if (combo.listCount() >= kRowsWithoutScrollBar) {
        width += screen.scrollBarWidth();
    }
    const int room = screen.screenPixels().width() - screen.screenLeft(combo);
    combo.setDropDownWidth(std::max(0, std::min(width, room)));
}

namespace {

QList<HtmlElement> matching(const HtmlElementList& elements, const QString& className, bool exact) {
    QList<HtmlElement> found;
    for (const HtmlElement element : elements) {
        const QString name = element.className().trimmed();
        if (exact ? name.compare(className, Qt::CaseInsensitive) == 0
                  : name.contains(className, Qt::CaseInsensitive)) {
            found.append(element);
        }
    }
    return found;
}

}  // namespace

QList<HtmlElement> FindElementsByClass(const HtmlDocument* document, const QString& tag,
                                       const QString& className, bool exact) {
    return document ? matching(document->elementsByTagName(tag), className, exact)
                    : QList<HtmlElement>();
}

QList<HtmlElement> FindElementsByClass(const HtmlElement& container, const QString& tag,
                                       const QString& className, bool exact) {
    return matching(container.elementsByTagName(tag), className, exact);
}

QString RemoveLineBreaks(const QString& text) {
    QString result = text;
    result.remove(QLatin1Char('\r'));
    result.remove(QLatin1Char('\n'));
    result.remove(QChar(0));
    return result;
}

QString TsvLine(const QStringList& fields) {
    QStringList cleaned;
    cleaned.reserve(fields.size());
    for (QString field : fields) {
        for (const QChar separator : {u'\t', u'\r', u'\n'}) {
            field.replace(separator, u' ');
        }
        cleaned.append(field);
    }
    return cleaned.join(u'\t') + u'\n';
}
