#include "download/DownloadList.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "sys/FileSystem.h"

namespace {

// Zero-filled to this many digits, numbers sort by value in a text sort.
constexpr qsizetype kSortDigits = 12;
const QString kPercent = QStringLiteral("%");

// The digits of a text that is a whole number without sign (surrounding blanks
// allowed), without leading zeros; empty for any other text.
QString plainNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    for (const QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return {};
        }
    }
    qsizetype first = 0;
    while (first + 1 < trimmed.size() && trimmed[first] == QLatin1Char('0')) {
        ++first;
    }
    return trimmed.mid(first);
}

bool isNumberColumn(int column) {
    return column == DownloadEntry::Size || column == DownloadEntry::Received ||
           column == DownloadEntry::Progress;
}

QString samePath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

DownloadEntry AddEntry(ListView& list, const QString& addresses, const QString& name,
                       const QString& type, const QString& folder, const QString& referrer) {
    ListRow* row = list.add(addresses, name);
    if (!row) {
        return DownloadEntry(list, nullptr);
    }
    DownloadEntry entry(list, row);
    entry.setType(type);
    entry.setFolder(folder);
    entry.setReferrer(referrer);
    entry.setState(EntryState::Waiting);
    return entry;
}

QString 选择url(const QString& addresses) {
    const qsizetype bar = addresses.indexOf(QLatin1Char('|'));
    return bar < 0 ? addresses : addresses.left(bar);
}

QString 对调url(const QString& addresses) {
    const QStringList parts = addresses.split(QLatin1Char('|'));
    if (parts.size() == 2) {
        return parts[1] + QLatin1Char('|') + parts[0];
    }
    if (parts.size() == 3) {
        return parts[2] + QLatin1Char('|') + parts[0] + QLatin1Char('|') + parts[1];
    }
    return addresses;
}

void ForEachEntry(ListView& list, const std::function<void(DownloadEntry&)>& visit) {
    if (list.count() == 0) {
        return;
    }
    const bool shown = list.visible();
    list.setVisible(false);
    for (int position = 1; position <= list.count(); ++position) {
        DownloadEntry entry(list, list.at(position));
        visit(entry);
    }
    list.setVisible(shown);
}

bool 检测是否下载列表完毕(ListView& list) {
    for (int position = 1; position <= list.count(); ++position) {
        const EntryState state = DownloadEntry(list, list.at(position)).state();
        if (state != EntryState::Done && state != EntryState::Failed) {
            return false;
        }
    }
    return true;
}

int 统计未下载项数目(ListView& list) {
    int count = 0;
    for (int position = 1; position <= list.count(); ++position) {
        const DownloadEntry entry(list, list.at(position));
        if (entry.sizeText().isEmpty() && entry.receivedText().isEmpty() &&
            entry.progressText().isEmpty()) {
            ++count;
        }
    }
    return count;
}

bool IsWebPageType(const QString& type, bool xmlToo) {
    const QString lower = type.toLower();
    return lower == u"htm" || lower == u"html" || (xmlToo && lower == u"xml");
}

int CountErrorOrPageEntries(ListView& list) {
    int count = 0;
    for (int position = 1; position <= list.count(); ++position) {
        const DownloadEntry entry(list, list.at(position));
        if (IsWebPageType(entry.type()) || entry.state() == EntryState::Failed) {
            ++count;
        }
    }
    return count;
}

QString StatusCountsText(ListView& list) {
    int byState[5] = {};
    for (int position = 1; position <= list.count(); ++position) {
        ++byState[int(DownloadEntry(list, list.at(position)).state())];
    }
    return QStringLiteral("总数:%1 正在下载:%2 等待:%3 已完成:%4 失败:%5")
        .arg(list.count())
        .arg(byState[int(EntryState::Downloading)])
        .arg(byState[int(EntryState::Waiting)])
        .arg(byState[int(EntryState::Done)])
        .arg(byState[int(EntryState::Failed)]);
}

void DeleteOwnedEntryFile(DownloadEntry& entry) {
    const QString path = EntryFilePath(entry);
    const QString owned = entry.ownedFile();
    if (owned.isEmpty() || !FileExists(path) || samePath(path) != samePath(owned)) {
        return;
    }
    if (QFile::remove(path)) {
        entry.setOwnedFile(QString());
    }
}

void SortDownloadList(ListView& list, int column, ListView::SortOrder order) {
    const bool numbers = isNumberColumn(column);
    const bool percent = column == DownloadEntry::Progress;
    const bool shown = list.visible();
    list.setVisible(false);
    if (numbers) {
        // Numbers longer than twelve digits (sizes past a terabyte) widen the fill, so
        // that they still sort after the shorter ones.
        QStringList plain;
        plain.reserve(list.count());
        qsizetype width = kSortDigits;
        for (int position = 1; position <= list.count(); ++position) {
            QString text = list.at(position)->columnText(column);
            if (percent) {
                text.remove(kPercent);
            }
            plain.append(plainNumber(text));
            width = std::max(width, plain.constLast().size());
        }
        for (int position = 1; position <= list.count(); ++position) {
            const QString& number = plain[position - 1];
            if (!number.isEmpty()) {
                list.setSubItem(list.at(position), column,
                                number.rightJustified(width, QLatin1Char('0')));
            }
        }
    }
    list.sortOnce(column, order);
    if (numbers) {
        for (int position = 1; position <= list.count(); ++position) {
            ListRow* row = list.at(position);
            QString number = plainNumber(row->columnText(column));
            if (!number.isEmpty()) {
                if (percent) {
                    number += kPercent;
                }
                list.setSubItem(row, column, number);
            }
        }
    }
    list.setVisible(shown);
}
