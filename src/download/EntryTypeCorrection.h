#pragma once

class DownloadEntry;

// Gives a finished entry's file the extension of what it really holds: when detection
// names a type other than the entry's, the file is renamed to that type under the
// first free name (UniqueFilePath; nothing is overwritten), and the entry's name, type
// and `ownedFile` follow the file. True only when the renamed file exists.
//
// An entry typed docx, xlsx, pptx or ppsx is never renamed to docx or zip: detection
// cannot tell these packages apart, and a spreadsheet named .docx would open in the
// wrong program.
bool CorrectEntryType(DownloadEntry& entry);
