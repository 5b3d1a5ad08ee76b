#include "download/DownloadListOperations.h"

#include <QFile>
#include <cmath>
#include <functional>

#include "download/DownloadEntry.h"
#include "download/DownloadList.h"
#include "platform/controls/ListView.h"
#include "sys/FileSystem.h"

namespace {

const QString kUnknownType = QStringLiteral("xxx");
constexpr double kBytesPerKB = 1024;

using EntryTest = std::function<bool(const DownloadEntry&)>;

bool finished(const DownloadEntry& entry) {
    return entry.state() == EntryState::Done || entry.state() == EntryState::Failed;
}

bool failed(const DownloadEntry& entry) {
    return entry.state() == EntryState::Failed;
}

bool selected(const DownloadEntry& entry) {
    return entry.row()->selected();
}

bool finishedPage(const DownloadEntry& entry) {
    return finished(entry) && IsWebPageType(entry.type(), true);
}

// A running transfer owns its entry's file until it ends: reset, the entry would get a
// second transfer, and a file deleted under it frees the name for another entry.
bool downloading(const DownloadEntry& entry) {
    return entry.state() == EntryState::Downloading;
}

void RequeueWhere(ListView& list, bool alwaysUnknownType, const EntryTest& matches) {
    ForEachEntry(list, [&](DownloadEntry& entry) {
        if (matches(entry)) {
            RequeueEntry(entry, alwaysUnknownType);
        }
    });
}

EntryTest RequeueTest(RequeueChoice choice) {
    switch (choice) {
        case RequeueChoice::Selected:
            return [](const DownloadEntry& e) { return selected(e) && finished(e); };
        case RequeueChoice::Failed:
            return failed;
        case RequeueChoice::WebPages:
            return finishedPage;
        case RequeueChoice::FailedOrWebPages:
            return [](const DownloadEntry& e) {
                return failed(e) || (e.state() == EntryState::Done && IsWebPageType(e.type()));
            };
    }
    return {};
}

EntryTest RemovalTest(RemovalChoice choice) {
    switch (choice) {
        case RemovalChoice::Selected:
            return selected;
        case RemovalChoice::Done:
            return [](const DownloadEntry& e) { return e.state() == EntryState::Done; };
        case RemovalChoice::NotDone:
            return [](const DownloadEntry& e) { return e.state() != EntryState::Done; };
        case RemovalChoice::Failed:
            return failed;
    }
    return {};
}

EntryTest DeletionTest(DeletionChoice choice) {
    switch (choice) {
        case DeletionChoice::WebPages:
            return finishedPage;
        case DeletionChoice::Failed:
            return failed;
        case DeletionChoice::Selected:
            return [](const DownloadEntry& e) { return selected(e) && !downloading(e); };
    }
    return {};
}

// The three progress columns emptied and the file deleted; `requeue` also makes the
// entry Waiting.
void DeleteAndClear(DownloadEntry& entry, bool requeue) {
    entry.setSizeText(QString());
    entry.setReceivedText(QString());
    entry.setProgressText(QString());
    DeleteEntryFile(entry);
    if (requeue) {
        entry.setState(EntryState::Waiting);
    }
}

}  // namespace

std::optional<double> NumberIn(const QString& text) {
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

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

void RequeueEntries(ListView& list, RequeueChoice choice) {
    RequeueWhere(list, choice == RequeueChoice::WebPages, RequeueTest(choice));
}

void RequeueSmallFiles(ListView& list, double limitBytes) {
    RequeueWhere(list, false, [limitBytes](const DownloadEntry& entry) {
        const std::optional<double> size = NumberIn(entry.sizeText().remove(u','));
        const std::optional<double> received = NumberIn(entry.receivedText().remove(u','));
        return size && received && *size == *received && *size < limitBytes && finished(entry);
    });
}

void RemoveEntries(ListView& list, RemovalChoice choice) {
    if (list.count() == 0) {
        return;
    }
    const EntryTest matches = RemovalTest(choice);
    const bool shown = list.visible();
    list.setVisible(false);
    // After a removal the same position holds the next entry.
    for (int position = 1; position <= list.count();) {
        if (matches(DownloadEntry(list, list.at(position)))) {
            list.removeAt(position);
        } else {
            ++position;
        }
    }
    list.setVisible(shown);
}

void DeleteEntryFile(DownloadEntry& entry) {
    const QString path = LocalFilePath(EntryFilePath(entry));
    if (!FileExists(path) || !QFile::remove(path)) {
        return;
    }
    if (LocalFilePath(entry.ownedFile()) == path) {
        entry.setOwnedFile(QString());
    }
}

void DeleteEntryFiles(ListView& list, DeletionChoice choice) {
    const EntryTest matches = DeletionTest(choice);
    const bool requeue = choice == DeletionChoice::Selected;
    ForEachEntry(list, [&](DownloadEntry& entry) {
        if (matches(entry)) {
            DeleteAndClear(entry, requeue);
        }
    });
}

void DeleteSmallFiles(ListView& list, double limitKB) {
    ForEachEntry(list, [limitKB](DownloadEntry& entry) {
        const std::optional<double> size = NumberIn(entry.sizeText());
        if (size && *size / kBytesPerKB < limitKB && !downloading(entry)) {
            DeleteAndClear(entry, true);
        }
    });
}
