#include "platform/dialogs/Dialogs.h"

bool Dialogs::askYesNo(const QString& text, MessageIcon icon) {
    return message(text, icon, MessageButtons::YesNo) == MessageAnswer::Yes;
}
