#include "tools/CopyMoveJob.h"

#include <QFile>
#include <QFileInfo>

#include "platform/runtime/Runtime.h"
#include "sys/FileSystem.h"
#include "tools/CopyMoveHost.h"

namespace {

// The same folder, links resolved; names differing in case are different folders.
bool sameFolder(const QString& a, const QString& b) {
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

}  // namespace

void RunCopyMoveJob(const QStringList& files, const QString& destination, SameNameRule rule,
                    bool move, CopyMoveHost& host, Runtime& runtime) {
    for (int i = 0; i < files.size(); ++i) {
        if (!host.jobRunning()) {
            break;
        }
        host.fileReached(i + 1);
        const QString& source = files.at(i);
        QString extension;
        QString base;
        if (sameFolder(SplitFullPath(source, extension, base), destination)) {
            continue;
        }
        const QString name = extension.isEmpty() ? base : base + QLatin1Char('.') + extension;
        host.copyingAs(name);
        runtime.yield();
        const QString copy = CopyUnderRule(source, destination, name, rule);
        if (move && !copy.isEmpty() && IsCompleteCopy(source, copy)) {
            QFile::remove(source);
        }
    }
}
