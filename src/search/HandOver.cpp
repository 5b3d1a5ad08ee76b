#include "search/HandOver.h"

#include "app/Config.h"
#include "download/EntryNaming.h"
#include "download/fFileDownload.h"
#include "platform/controls/ListView.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Forms.h"
#include "search/HandOverHost.h"
#include "search/ResultColumns.h"
#include "search/SearchRunState.h"

namespace {

// No operation writes this status; the pass that looks for it finds none.
const QString kFailedStatus = QStringLiteral("分析失败");

}  // namespace

HandOver::HandOver(Runtime& runtime, Forms& forms, Config& config, ListView& results,
                   SearchRunState& state, HandOverHost& host)
    : runtime_(runtime),
      forms_(forms),
      config_(config),
      results_(results),
      state_(state),
      host_(host) {}

void HandOver::yield() {
    runtime_.yield();
    // The program is ending: the pass stops at its next check.
    if (runtime_.quitRequested()) {
        state_.handOverStop = true;
    }
}

void HandOver::RunPass(Pass pass) {
    if (running_) {
        return;
    }
    running_ = true;
    state_.handOverStop = false;
    host_.showPassRunning(true);
    yield();
    // A stop that came before the first entry (the window closed) asks nothing more.
    if (!state_.handOverStop && results_.count() > 0 && SaveFolderSettled(pass)) {
        HandOverEntries(pass);
    }
    host_.showPassRunning(false);
    state_.handOverStop = true;
    // At the program's end no window comes up again.
    if (!runtime_.quitRequested()) {
        显示下载窗口();
    }
    running_ = false;
}

bool HandOver::SaveFolderSettled(Pass pass) {
    // The automatic mode asked for the folder when it was switched on.
    if (pass == Pass::分析未分析项 && host_.automaticMode()) {
        return true;
    }
    return SaveFolderConfirmed();
}

bool HandOver::SaveFolderConfirmed() {
    return config_.AskPathAtExtraction == 1 || host_.confirmSaveFolder();
}

void HandOver::HandOverEntries(Pass pass) {
    // Entries extracted while the pass runs are left to the next one.
    const int count = results_.count();
    for (int position = 1; position <= count && position <= results_.count(); ++position) {
        ListRow* row = results_.at(position);
        if (!Takes(pass, *row)) {
            continue;
        }
        if (pass != Pass::分析未分析项) {
            results_.setSubItem(row, ResultColumns::kStatus, QString());
        }
        加入下载列表(row->key(), row->text(), row->subItem(ResultColumns::kType),
                     row->subItem(ResultColumns::kSaveFolder), row->tag());
        results_.setSubItem(row, ResultColumns::kStatus, ResultColumns::kHandedOver);
        yield();
        if (state_.handOverStop) {
            break;
        }
    }
}

bool HandOver::Takes(Pass pass, const ListRow& row) const {
    const QString status = row.subItem(ResultColumns::kStatus);
    switch (pass) {
        case Pass::分析未分析项:
            return status.isEmpty();
        case Pass::分析失败项:
            return status == kFailedStatus;
        case Pass::分析选中项:
            return row.selected();
        case Pass::分析全部:
            return true;
    }
    return false;
}

void HandOver::加入下载列表(const QString& link, const QString& title, const QString& type,
                            const QString& saveFolder, const QString& sourcePage) {
    auto* download = forms_.load<fFileDownload>(fFileDownload::kName);
    if (!download) {
        return;
    }
    AddFoundDocument(*download->ListView3, link, title, type,
                     saveFolder.isEmpty() ? config_.ChosenSaveFolder : saveFolder, sourcePage,
                     config_.NameByOriginalFileName);
}

void HandOver::显示下载窗口() {
    // The list's view follows its model, so showing the window is all there is to do.
    if (Window* download = forms_.find(fFileDownload::kName)) {
        download->show();
    }
}
