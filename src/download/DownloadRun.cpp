#include "download/DownloadRun.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QTextStream>

#include "download/DownloadEntry.h"
#include "download/DownloadList.h"
#include "download/fFileDownload.h"
#include "platform/runtime/Runtime.h"

namespace {

// How often the terminal's progress line is rewritten, in seconds.
constexpr double kProgressEvery = 0.5;

QString fileName(const DownloadEntry& entry) {
    return entry.type().isEmpty() ? entry.name() : entry.name() + u'.' + entry.type();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

DownloadRun::DownloadRun(fFileDownload& window, Runtime& runtime, QTextStream& out,
                         QTextStream& err)
    : window_(window),
      runtime_(runtime),
      out_(out),
      err_(err),
      terminal_(isatty(2)),
      shown_(-kProgressEvery) {
    ListView* list = window.ListView3;
    // Rows are counted from 0 in the signals.
    QObject::connect(list, &ListView::rowChanged, list,
                     [this, list](int row) { rowChanged(list->at(row + 1)); });
    QObject::connect(list, &ListView::rowsReset, list, [this, list] {
        for (int position = 1; position <= list->count(); ++position) {
            rowChanged(list->at(position));
        }
    });
}

void DownloadRun::runUntilIdle() {
    window_.Command4->click();
    while (window_.DownloadActive()) {
        runtime_.waitStep();
        tick();
    }
}

void DownloadRun::tick() {
    if (!terminal_ || runtime_.now() - shown_ < kProgressEvery) {
        return;
    }
    shown_ = runtime_.now();
    err_ << '\r' << StatusCountsText(*window_.ListView3) << "\x1b[K";
    err_.flush();
}

void DownloadRun::summary() {
    if (terminal_) {
        err_ << "\r\x1b[K";
        err_.flush();
    }
    const double transfer = started_ ? lastEnd_ - firstStart_ : 0;
    out_ << StatusCountsText(*window_.ListView3) << '\n'
         << QStringLiteral("传输：%1 s  CPU：%2 s")
                .arg(transfer, 0, 'f', 3)
                .arg(cpuSeconds(), 0, 'f', 3)
         << '\n';
    out_.flush();
}

bool DownloadRun::allDone() const {
    ListView& list = *window_.ListView3;
    for (int position = 1; position <= list.count(); ++position) {
        if (DownloadEntry(list, list.at(position)).state() != EntryState::Done) {
            return false;
        }
    }
    return true;
}

void DownloadRun::rowChanged(ListRow* row) {
    // Method 1 transfers inside the download tick: its rows carry the progress line.
    tick();
    const DownloadEntry entry(*window_.ListView3, row);
    if (!entry.isValid()) {
        return;
    }
    const EntryState state = entry.state();
    const bool ended = state == EntryState::Done || state == EntryState::Failed;
    if (state == EntryState::Downloading && !started_) {
        started_ = true;
        firstStart_ = runtime_.now();
    }
    if (!ended) {
        reported_.remove(entry.id());
        return;
    }
    if (reported_.contains(entry.id())) {
        return;
    }
    reported_.insert(entry.id());
    lastEnd_ = runtime_.now();
    if (terminal_) {
        err_ << "\r\x1b[K";
        err_.flush();
    }
    out_ << (state == EntryState::Done ? QStringLiteral("完成") : QStringLiteral("失败")) << '\t'
         << fileName(entry) << '\t' << entry.progressText() << '\t' << 选择url(entry.addresses())
         << '\n';
    out_.flush();
}
