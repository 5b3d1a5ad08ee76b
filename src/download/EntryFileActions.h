#pragma once

class DownloadEntry;
class Dialogs;
class Shell;

// The list menu's actions on an entry's file, through the desktop's handlers; each
// says so when the file or its folder is missing.

// Opens the file with its associated program.
void OpenEntryFile(const DownloadEntry& entry, Shell& shell, Dialogs& dialogs);
// Opens the entry's folder with the file selected, or just the folder when the file is
// missing.
void OpenEntryFolder(const DownloadEntry& entry, Shell& shell, Dialogs& dialogs);
// Opens the file in the desktop's text editor; files over 2048 KB are refused.
void OpenEntryInTextEditor(const DownloadEntry& entry, Shell& shell, Dialogs& dialogs);
