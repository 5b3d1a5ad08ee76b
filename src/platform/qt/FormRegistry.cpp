#include "platform/qt/FormRegistry.h"

#include <QWidget>
#include <functional>

#include "ui_fCover.h"

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
    };
    const auto factory = forms.value(windowName);
    return factory ? factory() : nullptr;
}

}  // namespace FormRegistry
