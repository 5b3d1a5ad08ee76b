#include "download/DownloadListOperations.h"

#include <functional>

#include "download/DownloadEntry.h"
#include "download/DownloadList.h"
#include "platform/controls/ListView.h"

namespace {

const QString kUnknownType = QStringLiteral("xxx");

bool finished(const DownloadEntry& entry) {
    return entry.state() == EntryState::Done || entry.state() == EntryState::Failed;
}

// Requeues every entry that matches, with the list hidden meanwhile.
void RequeueWhere(ListView& list, bool alwaysUnknownType,
                  const std::function<bool(const DownloadEntry&)>& matches) {
    if (list.count() == 0) {
        return;
    }
    const bool shown = list.visible();
    list.setVisible(false);
    for (int position = 1; position <= list.count(); ++position) {
        DownloadEntry entry(list, list.at(position));
        if (matches(entry)) {
            RequeueEntry(entry, alwaysUnknownType);
        }
    }
    list.setVisible(shown);
}

}  // namespace

void RequeueEntry(DownloadEntry& entry, bool alwaysUnknownType) {
    DeleteOwnedEntryFile(entry);
    entry.setState(EntryState::Waiting);
    if (alwaysUnknownType || IsWebPageType(entry.type())) {
        entry.setType(kUnknownType);
    }
    entry.setSizeText(QString());
    entry.setReceivedText(QString());
    entry.setProgressText(QString());
    DeleteOwnedEntryFile(entry);
    // A key another entry holds leaves the addresses as they were.
    entry.setAddresses(对调url(entry.addresses()));
}

void RequeueFailed(ListView& list) {
    RequeueWhere(list, false,
                 [](const DownloadEntry& entry) { return entry.state() == EntryState::Failed; });
}

void RequeueWebPages(ListView& list) {
    RequeueWhere(list, true, [](const DownloadEntry& entry) {
        return finished(entry) && IsWebPageType(entry.type(), true);
    });
}
