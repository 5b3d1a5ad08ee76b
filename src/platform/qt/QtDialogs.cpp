#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/qt/QtWindowHost.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Window.h"

namespace {

// "desc|pattern|desc|pattern" into Qt's "desc (pattern);;desc (pattern)".
QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        result.append(QStringLiteral("%1 (%2)").arg(
            parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))));
    }
    return result.join(QStringLiteral(";;"));
}

QString runFileDialog(const FileDialogOptions& options, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), options.title, options.initialFolder,
                       qtFilter(options.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(options.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.askBeforeOverwrite);
    if (!options.fileName.isEmpty()) {
        dialog.selectFile(options.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QtDialogs::QtDialogs(Runtime& runtime, const QString& defaultTitle)
    : runtime_(runtime), defaultTitle_(defaultTitle) {
    runtime_.addQuitHook([this] { rejectAll(); });
}

MessageAnswer QtDialogs::message(const QString& text, MessageIcon icon, MessageButtons buttons,
                                 const QString& title) {
    if (runtime_.quitRequested()) {
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? defaultTitle_ : title);
    box.setText(text);
    switch (icon) {
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::None:
            break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    if (runtime_.quitRequested()) {
        return {};
    }
    bool ok = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), title.isEmpty() ? defaultTitle_ : title,
                              prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? answer : QString();
}

QString QtDialogs::openFile(const FileDialogOptions& options) {
    return runtime_.quitRequested() ? QString() : runFileDialog(options, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFile(const FileDialogOptions& options) {
    return runtime_.quitRequested() ? QString() : runFileDialog(options, QFileDialog::AcceptSave);
}

QString QtDialogs::pickFolder(const QString& title, const QString& startFolder) {
    if (runtime_.quitRequested()) {
        return {};
    }
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
                                             QFileDialog::ShowDirsOnly);
}

void QtDialogs::showModal(Window& window) {
    QWidget* form = host_ ? host_->formOf(&window) : nullptr;
    if (!form || runtime_.quitRequested()) {
        return;
    }
    form->setWindowModality(Qt::ApplicationModal);
    form->show();
    form->raise();
    form->activateWindow();
    QEventLoop loop;
    modalLoops_.append(&loop);
    const QPointer<Window> model(&window);
    const auto done = [&loop, model] {
        if (!model || !model->visible() || model->isUnloaded()) {
            loop.quit();
        }
    };
    const auto connection = QObject::connect(&window, &Window::changed, &loop, done);
    if (model->visible() && !model->isUnloaded()) {
        loop.exec();
    }
    QObject::disconnect(connection);
    modalLoops_.removeAll(&loop);
    if (QWidget* still = host_->formOf(&window)) {
        still->setWindowModality(Qt::NonModal);
    }
}

void QtDialogs::rejectAll() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
    for (const auto& loop : std::as_const(modalLoops_)) {
        if (loop) {
            loop->quit();
        }
    }
}
