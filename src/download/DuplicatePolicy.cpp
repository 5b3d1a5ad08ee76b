#include "download/DuplicatePolicy.h"

#include "platform/controls/OptionButton.h"

DuplicatePolicy DuplicatePolicyFromCaption(const QString& caption) {
    const QString text = caption.trimmed();
    if (text == QStringLiteral("跳过")) {
        return DuplicatePolicy::Skip;
    }
    if (text == QStringLiteral("覆盖")) {
        return DuplicatePolicy::Overwrite;
    }
    return DuplicatePolicy::Rename;
}

DuplicatePolicy SelectedDuplicatePolicy(std::initializer_list<const OptionButton*> options) {
    for (const OptionButton* option : options) {
        if (option && option->value()) {
            return DuplicatePolicyFromCaption(option->caption());
        }
    }
    return DuplicatePolicy::Rename;
}
