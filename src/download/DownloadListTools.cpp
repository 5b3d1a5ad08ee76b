#include "download/DownloadListTools.h"

#include <QRandomGenerator>
#include <algorithm>

#include "download/DownloadList.h"
#include "download/EntryTypeCorrection.h"
#include "platform/text/Gbk.h"
#include "sys/FileSystem.h"

void ShuffleList(ListView& list, QRandomGenerator& random) {
    QList<ListRow*> rows;
    rows.reserve(list.count());
    for (int position = 1; position <= list.count(); ++position) {
        rows << list.at(position);
    }
    // Each pick is at random among the rows not picked yet; the picks go to the end in
    // the order they were drawn.
    const int moves = std::min(int(rows.size()), kShuffleMoves);
    for (int picked = 0; picked < moves; ++picked) {
        std::swap(rows[picked], rows[picked + int(random.bounded(int(rows.size()) - picked))]);
    }
    list.moveToEnd(rows.first(moves));
}

void CancelSelected(ListView& list) {
    ForEachEntry(list, [](DownloadEntry& entry) {
        if (entry.row()->selected() && entry.state() == EntryState::Waiting) {
            entry.setState(EntryState::Failed);
        }
    });
}

void CheckFilesExist(ListView& list) {
    ForEachEntry(list, [](DownloadEntry& entry) {
        if (!FileExists(EntryFilePath(entry))) {
            entry.setProgressText(QStringLiteral("不存在"));
        }
    });
}

int CorrectEntryTypes(ListView& list) {
    int corrected = 0;
    ForEachEntry(
        list, [&corrected](DownloadEntry& entry) { corrected += CorrectEntryType(entry) ? 1 : 0; });
    return corrected;
}

bool ExportEntryNames(ListView& list, const QString& path, bool unfinishedOnly, QString& error) {
    QString text;
    for (int position = 1; position <= list.count(); ++position) {
        const DownloadEntry entry(list, list.at(position));
        if (!unfinishedOnly || entry.state() != EntryState::Done) {
            text += entry.name() + QStringLiteral("\r\n");
        }
    }
    return ReplaceFile(LocalFilePath(path), Gbk::encode(text), &error);
}

int ReplaceInAddresses(ListView& list, const QString& find, const QString& replacement) {
    if (find.isEmpty()) {
        return 0;
    }
    int kept = 0;
    ForEachEntry(list, [&](DownloadEntry& entry) {
        const QString addresses = entry.addresses().replace(find, replacement, Qt::CaseInsensitive);
        kept += entry.setAddresses(addresses) ? 0 : 1;
        entry.setReferrer(entry.referrer().replace(find, replacement, Qt::CaseInsensitive));
    });
    return kept;
}
