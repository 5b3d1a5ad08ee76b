#include "support/RecordingShell.h"

bool RecordingShell::record(Op op, const QString& argument) {
    calls_.append({op, argument});
    return result;
}
