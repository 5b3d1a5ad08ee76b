#include "platform/qt/FormRegistry.h"

#include <QMainWindow>
#include <QWidget>
#include <functional>

#include "ui_Form_Copy_Move.h"
#include "ui_UrlReplace.h"
#include "ui_fCover.h"
#include "ui_fFileDownload.h"
#include "ui_fIEcache.h"
#include "ui_fOption.h"
#include "ui_fSeleFileSavePath.h"
#include "ui_fWebSearch.h"

namespace {

template <class Ui, class Root>
QWidget* make() {
    auto* root = new Root();
    Ui ui;
    ui.setupUi(root);
    return root;
}

}  // namespace

namespace FormRegistry {

QWidget* create(const QString& windowName) {
    static const QHash<QString, std::function<QWidget*()>> forms = {
        {QStringLiteral("fCover"), make<Ui::fCover, QWidget>},
        {QStringLiteral("fFileDownload"), make<Ui::fFileDownload, QMainWindow>},
        {QStringLiteral("fIEcache"), make<Ui::fIEcache, QWidget>},
        {QStringLiteral("Form_Copy_Move"), make<Ui::Form_Copy_Move, QWidget>},
        {QStringLiteral("fOption"), make<Ui::fOption, QWidget>},
        {QStringLiteral("fSeleFileSavePath"), make<Ui::fSeleFileSavePath, QWidget>},
        {QStringLiteral("fWebSearch"), make<Ui::fWebSearch, QMainWindow>},
        {QStringLiteral("UrlReplace"), make<Ui::UrlReplace, QWidget>},
    };
    const auto factory = forms.value(windowName);
    return factory ? factory() : nullptr;
}

}  // namespace FormRegistry
