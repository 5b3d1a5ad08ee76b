#pragma once

#include <QString>

class ListView;
class QRandomGenerator;

// The list menu's operations besides re-downloading, removing and deleting: the random
// order, cancelling, the file checks, the names export and the address replacement.
// Walks over the whole list visit the entries first to last with the list hidden.

// At most this many entries move in one shuffle.
constexpr int kShuffleMoves = 10000;
// Moves entries to the end, each picked at random among those not yet moved, so a list
// of up to kShuffleMoves entries ends in a random order (of a longer one, the entries
// not picked stay in front in their order). A moved entry is the same row: its id, its
// owned file, every field and its selection mark stay.
void ShuffleList(ListView& list, QRandomGenerator& random);

// The selected Waiting entries become Failed, so that the scheduler passes them over.
void CancelSelected(ListView& list);
// Every entry whose file is missing gets the percentage text "不存在".
void CheckFilesExist(ListView& list);
// Gives every entry's file the extension of what it holds (CorrectEntryType); the
// number of files renamed.
int CorrectEntryTypes(ListView& list);

// Writes the names of the entries (only those not Done when `unfinishedOnly`) in list
// order, each followed by CR LF, as GBK, replacing the file whole. False with the
// system's description of the error when the file cannot be written.
bool ExportEntryNames(ListView& list, const QString& path, bool unfinishedOnly, QString& error);

// Replaces every occurrence of `find` (any case) in every entry's addresses and
// referrer by `replacement`. Keys stay unique: an entry whose replaced addresses are
// already another entry's keeps its own (the earlier entry in the list gets the new
// text), while its referrer is replaced all the same. Transfers find their entries by
// id, so running ones go on. Gives the number of entries that kept their addresses.
int ReplaceInAddresses(ListView& list, const QString& find, const QString& replacement);
