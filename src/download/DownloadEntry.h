#pragma once

#include <QString>

#include "download/EntryState.h"

class ListView;
class ListRow;

// One row of the download list, read and written through the list: the list is the
// model. The row's key holds the addresses, its text the name, sub-items 1 to 5 the
// type, size, received bytes, percentage and folder, its tag the referrer and its
// small icon the state. `ownedFile` lives in sub-item 6, which no column shows.
//
// An entry is found again by its id, which nothing changes (not sorting, not a
// changed address), so a transfer never writes into another entry's row.
class DownloadEntry {
  public:
    enum Column {
        Name = 0,
        Type = 1,
        Size = 2,
        Received = 3,
        Progress = 4,
        Folder = 5,
        OwnedFile = 6
    };

    DownloadEntry(ListView& list, ListRow* row) : list_(&list), row_(row) {}
    // The entry of that id, or an invalid one when it is gone.
    static DownloadEntry byId(ListView& list, quint64 id);

    bool isValid() const { return row_ != nullptr; }
    quint64 id() const;
    ListRow* row() const { return row_; }

    QString addresses() const;
    // Fails (false) when another entry holds those addresses.
    bool setAddresses(const QString& addresses);
    QString name() const;
    void setName(const QString& name);
    QString type() const;
    void setType(const QString& type);
    QString sizeText() const;
    void setSizeText(const QString& text);
    QString receivedText() const;
    void setReceivedText(const QString& text);
    QString progressText() const;
    void setProgressText(const QString& text);
    QString folder() const;
    void setFolder(const QString& folder);
    QString referrer() const;
    void setReferrer(const QString& referrer);
    EntryState state() const;
    void setState(EntryState state);
    // The file the program created or completed for this entry; empty when none.
    QString ownedFile() const;
    void setOwnedFile(const QString& path);

  private:
    QString column(int column) const;
    void setColumn(int column, const QString& text);

    ListView* list_;
    ListRow* row_;
};
