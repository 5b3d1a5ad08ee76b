#include "download/FileTypeCommand.h"

#include <QFileInfo>
#include <QTextStream>

#include "download/FileTypeDetection.h"

int RunFileTypeCommand(const QStringList& paths, QTextStream& out, QTextStream& err) {
    if (paths.isEmpty()) {
        err << "usage: orvellin filetype FILE...\n";
        return 2;
    }
    int code = 0;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists()) {
            err << "orvellin filetype: " << path << ": no such file\n";
            code = 2;
        } else if (!info.isFile()) {
            err << "orvellin filetype: " << path << ": not a file\n";
            code = 2;
        } else {
            out << path << '\t' << 打开文件判断文件类型(path) << '\n';
        }
        // Lines appear as they are judged, in the order of the paths.
        out.flush();
        err.flush();
    }
    return code;
}
