#pragma once

#include <QString>
#include <array>

// One document type the search window can ask for, in the order a batch runs them.
struct FileType {
    QString checkBox;     // the window's check box for the type
    QString type;         // "pdf"
    QString suffix;       // what the address ends with: "+filetype%3Apdf"
    QString progressTag;  // written to the progress box once the type ran: "(pdf)"
};

inline const std::array<FileType, 5> kFileTypes{{
    {QStringLiteral("Check3"), QStringLiteral("pdf"), QStringLiteral("+filetype%3Apdf"),
     QStringLiteral("(pdf)")},
    {QStringLiteral("Check8"), QStringLiteral("doc"), QStringLiteral("+filetype%3Adoc"),
     QStringLiteral("(doc)")},
    {QStringLiteral("Check9"), QStringLiteral("ppt"), QStringLiteral("+filetype%3Appt"),
     QStringLiteral("(ppt)")},
    {QStringLiteral("Check10"), QStringLiteral("xls"), QStringLiteral("+filetype%3Axls"),
     QStringLiteral("(xls)")},
    {QStringLiteral("Check11"), QStringLiteral("txt"), QStringLiteral("+filetype%3Atxt"),
     QStringLiteral("(txt)")},
}};

// The search window's query options, read from its controls for every keyword group.
// The defaults are the window's state when it opens.
struct SearchOptions {
    bool quoteWholeGroup = false;        // Check6
    bool titleOnly = false;              // Check4
    bool simplifiedChineseOnly = false;  // Option2 chosen rather than Option1
    // Whether each type of kFileTypes is checked, in the same order.
    std::array<bool, kFileTypes.size()> fileTypes{true, true, true, true, true};
};
