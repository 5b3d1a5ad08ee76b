#pragma once

#include <QString>
#include <initializer_list>

class OptionButton;

// What happens when a file of the target's name exists: the download window's
// same-name options "跳过", "覆盖" and "重命名".
enum class DuplicatePolicy { Skip, Overwrite, Rename };

// The policy of an option's caption (trimmed). An unknown caption renames, the
// choice that never touches an existing file.
DuplicatePolicy DuplicatePolicyFromCaption(const QString& caption);

// The policy of the selected option among the same-name options, read when a rule
// needs it, so a change applies to the next entry started.
DuplicatePolicy SelectedDuplicatePolicy(std::initializer_list<const OptionButton*> options);
