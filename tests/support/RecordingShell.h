#pragma once

#include <QList>
#include <QPair>

#include "platform/desktop/Shell.h"

// A shell that records what the program asked it to open, and answers `result`.
class RecordingShell final : public Shell {
  public:
    enum class Op { OpenFile, ShowInFolder, OpenFolder, OpenUrl, OpenInTextEditor };
    using Call = QPair<Op, QString>;

    bool openFile(const QString& path) override { return record(Op::OpenFile, path); }
    bool showInFolder(const QString& path) override { return record(Op::ShowInFolder, path); }
    bool openFolder(const QString& path) override { return record(Op::OpenFolder, path); }
    bool openUrl(const QString& url) override { return record(Op::OpenUrl, url); }
    bool openInTextEditor(const QString& path) override {
        return record(Op::OpenInTextEditor, path);
    }

    const QList<Call>& calls() const { return calls_; }
    bool result = true;

  private:
    bool record(Op op, const QString& argument);
    QList<Call> calls_;
};
