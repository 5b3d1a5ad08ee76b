#pragma once

#include <QString>

// The copy/move tool's rules for a file whose name the destination already holds; the
// number is the rule's button and its stored "OpIndex".
enum class SameNameRule {
    None = 0,  // no rule chosen: nothing is done
    Skip = 1,
    Overwrite = 2,
    Rename = 3,
    // Overwrite when length and modification time (to the second) are equal, else rename.
    OverwriteWhenSizeAndTimeEqual = 4,
    // Overwrite when the lengths are equal, else rename.
    OverwriteWhenSizeEqual = 5,
};

// Copies `source` into `folder` (ending in "/") as `name` under the rule, and gives the
// path of the copy; the empty text when nothing was copied. A copy never replaces the
// source itself (the same file under another path) and never deletes anything before
// it is complete: it is written to a hidden temporary file beside the target and renamed
// over it, keeping the source's modification time and permissions.
QString CopyUnderRule(const QString& source, const QString& folder, const QString& name,
                      SameNameRule rule);

// Copies the source into the folder (ending in "/") under its own name, or when that is
// taken under the first free numbered one: a trailing "[n]" of the base is dropped and
// "[001]", "[002]" … added ("a.txt" beside a.txt and a[001].txt becomes "a[002].txt").
// `newName` gets the name written, `baseName` that name without its extension. False
// when the source is missing or the copy fails.
bool 复制相同文件自动重命名(const QString& source, const QString& folder, QString& newName,
                            QString& baseName);

// The copy at `copy` is a file of its own with the length of `source`: a move may now
// delete the source.
bool IsCompleteCopy(const QString& source, const QString& copy);
