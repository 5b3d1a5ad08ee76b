#include "download/DownloadEntry.h"

#include "platform/controls/ListView.h"

DownloadEntry DownloadEntry::byId(ListView& list, quint64 id) {
    return DownloadEntry(list, list.findById(id));
}

quint64 DownloadEntry::id() const {
    return row_ ? row_->id() : 0;
}

QString DownloadEntry::column(int column) const {
    return row_ ? row_->columnText(column) : QString();
}

void DownloadEntry::setColumn(int column, const QString& text) {
    if (!row_) {
        return;
    }
    if (column == Name) {
        list_->setText(row_, text);
    } else {
        list_->setSubItem(row_, column, text);
    }
}

QString DownloadEntry::addresses() const {
    return row_ ? row_->key() : QString();
}

bool DownloadEntry::setAddresses(const QString& addresses) {
    return list_->setKey(row_, addresses);
}

QString DownloadEntry::name() const {
    return column(Name);
}
void DownloadEntry::setName(const QString& name) {
    setColumn(Name, name);
}
QString DownloadEntry::type() const {
    return column(Type);
}
void DownloadEntry::setType(const QString& type) {
    setColumn(Type, type);
}
QString DownloadEntry::sizeText() const {
    return column(Size);
}
void DownloadEntry::setSizeText(const QString& text) {
    setColumn(Size, text);
}
QString DownloadEntry::receivedText() const {
    return column(Received);
}
void DownloadEntry::setReceivedText(const QString& text) {
    setColumn(Received, text);
}
QString DownloadEntry::progressText() const {
    return column(Progress);
}
void DownloadEntry::setProgressText(const QString& text) {
    setColumn(Progress, text);
}
QString DownloadEntry::folder() const {
    return column(Folder);
}
void DownloadEntry::setFolder(const QString& folder) {
    setColumn(Folder, folder);
}
QString DownloadEntry::ownedFile() const {
    return column(OwnedFile);
}
void DownloadEntry::setOwnedFile(const QString& path) {
    setColumn(OwnedFile, path);
}

QString DownloadEntry::referrer() const {
    return row_ ? row_->tag() : QString();
}

void DownloadEntry::setReferrer(const QString& referrer) {
    if (row_) {
        list_->setTag(row_, referrer);
    }
}

EntryState DownloadEntry::state() const {
    const int icon = row_ ? row_->smallIcon() : 0;
    return icon >= 1 && icon <= 4 ? EntryState(icon) : EntryState::Waiting;
}

void DownloadEntry::setState(EntryState state) {
    if (row_) {
        list_->setSmallIcon(row_, int(state));
    }
}
