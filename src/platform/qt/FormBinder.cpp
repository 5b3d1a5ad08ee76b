#include "platform/qt/FormBinder.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeView>
#include <QWindowStateChangeEvent>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Frame.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"
#include "platform/qt/ListViewAdapter.h"
#include "platform/qt/ViewUnits.h"
#include "platform/qt/WebEngineBrowser.h"
#include "platform/window/Window.h"

namespace {

// Where a window's controls sit: a main window's central widget, below the menu bar
// and above the status bar; the whole form otherwise.
const QWidget& clientArea(const QWidget& form) {
    const auto* main = qobject_cast<const QMainWindow*>(&form);
    return main && main->centralWidget() ? *main->centralWidget() : form;
}

QRect toPixels(const QRect& twips) {
    return QRect(twips.x() / kTwipsPerPixel, twips.y() / kTwipsPerPixel,
                 twips.width() / kTwipsPerPixel, twips.height() / kTwipsPerPixel);
}

QRect toTwips(const QRect& pixels) {
    return QRect(pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel,
                 pixels.width() * kTwipsPerPixel, pixels.height() * kTwipsPerPixel);
}

QString colorSheet(const QString& property, const Color& color) {
    return color.isValid() ? QStringLiteral("%1: %2;").arg(property, color.name()) : QString();
}
}  // namespace

FormBinder::FormBinder(Window& window, QWidget& form)
    : QObject(&form), window_(window), form_(form) {
    for (Control* control : window_.findChildren<Control*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<MenuItem*>(control) || qobject_cast<Timer*>(control)) {
            continue;
        }
        if (auto* widget = form_.findChild<QWidget*>(control->name())) {
            bindControl(control, widget);
        } else {
            qWarning("form %s has no widget for control %s", qPrintable(window_.name()),
                     qPrintable(control->name()));
        }
    }
    // An embedded browser fills the form's placeholder widget of its name.
    for (auto* browser : window_.findChildren<WebEngineBrowser*>(Qt::FindDirectChildrenOnly)) {
        browser->embedInto(form_.findChild<QWidget*>(browser->objectName()));
    }
    bindMenus();
    bindWindow();
}

// --- the window -------------------------------------------------------------------------------

void FormBinder::bindWindow() {
    form_.installEventFilter(this);
    connect(&window_, &Window::changed, this, &FormBinder::syncWindow);
    connect(&window_, &Window::popupRequested, this, &FormBinder::popup);
    connect(&window_, &Window::activateRequested, this, [this] {
        form_.raise();
        form_.activateWindow();
    });
    syncWindow();
}

void FormBinder::syncWindow() {
    syncing_ = true;
    form_.setWindowTitle(window_.caption());
    if (!window_.icon().isEmpty()) {
        form_.setWindowIcon(QIcon(window_.icon()));
    }
    if (!window_.minimumSize().isEmpty()) {
        form_.setMinimumSize(window_.minimumSize() / kTwipsPerPixel);
    }
    if (form_.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != window_.topMost()) {
        form_.setWindowFlag(Qt::WindowStaysOnTopHint, window_.topMost());
    }
    const QRect wanted = toPixels(window_.geometry());
    if (!wanted.isEmpty() && window_.windowState() == WindowState::Normal &&
        wanted != form_.frameGeometry()) {
        const QSize frame = form_.frameGeometry().size() - form_.geometry().size();
        form_.move(wanted.topLeft());
        form_.resize(wanted.size() - frame);
    }
    if (window_.visible()) {
        switch (window_.windowState()) {
            case WindowState::Maximized:
                form_.showMaximized();
                break;
            case WindowState::Minimized:
                form_.showMinimized();
                break;
            case WindowState::Normal:
                if (form_.isMaximized() || form_.isMinimized() || !form_.isVisible()) {
                    form_.showNormal();
                }
                break;
        }
        if (firstShow_) {
            firstShow_ = false;
            form_.raise();
            form_.activateWindow();
        }
    } else if (form_.isVisible()) {
        form_.hide();
    }
    syncing_ = false;
    reportClientSize();
}

void FormBinder::reportClientSize() {
    // A size the model set, or the first show, raises no resize the model hears of.
    const QSize client = clientArea(form_).size() * kTwipsPerPixel;
    if (form_.isVisible() && client != window_.clientSize()) {
        window_.resizedByView(toTwips(form_.frameGeometry()), client);
    }
}

bool FormBinder::windowEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Close:
            // The model decides; when it unloads it hides the window itself.
            event->ignore();
            window_.close();
            return true;
        case QEvent::Resize:
        case QEvent::Move:
            if (!syncing_ && form_.isVisible()) {
                window_.resizedByView(toTwips(form_.frameGeometry()),
                                      clientArea(form_).size() * kTwipsPerPixel);
            }
            return false;
        case QEvent::WindowActivate:
            window_.activatedByView();
            return false;
        case QEvent::WindowStateChange:
            window_.stateChangedByView(form_.isMinimized()   ? WindowState::Minimized
                                       : form_.isMaximized() ? WindowState::Maximized
                                                             : WindowState::Normal);
            return false;
        default:
            return false;
    }
}

// --- controls -----------------------------------------------------------------------------------

void FormBinder::bindControl(Control* control, QWidget* widget) {
    widgets_.insert(control, widget);
    controlOf_.insert(widget, control);
    connect(control, &Control::changed, this, [this, control] { sync(control); });
    connect(control, &Control::broughtToFront, widget, &QWidget::raise);
    bindButtonLike(control, widget);
    bindInputs(control, widget);
    bindPanels(control, widget);
    sync(control);
}

void FormBinder::bindButtonLike(Control* control, QWidget* widget) {
    if (auto* button = qobject_cast<Button*>(control)) {
        if (auto* push = qobject_cast<QPushButton*>(widget)) {
            connect(push, &QPushButton::clicked, button, [button] { button->click(); });
        }
    } else if (auto* check = qobject_cast<CheckBox*>(control)) {
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            connect(box, &QCheckBox::clicked, check, [this, check] {
                check->click();
                sync(check);
            });
        }
    } else if (auto* option = qobject_cast<OptionButton*>(control)) {
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            radio->setAutoExclusive(false);
            connect(radio, &QRadioButton::clicked, option, [this, option] {
                option->click();
                sync(option);
            });
        }
    } else if (qobject_cast<Label*>(control) || qobject_cast<PictureBox*>(control)) {
        widget->installEventFilter(this);
    }
}

void FormBinder::bindInputs(Control* control, QWidget* widget) {
    if (auto* combo = qobject_cast<ComboBox*>(control)) {
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            box->setEditable(combo->style() == ComboBox::Style::Editable);
            box->setInsertPolicy(QComboBox::NoInsert);
            connect(box, &QComboBox::activated, combo,
                    [combo](int index) { combo->select(index); });
            if (box->lineEdit()) {
                connect(box->lineEdit(), &QLineEdit::textEdited, combo,
                        [combo](const QString& text) { combo->edit(text); });
            }
        }
    } else if (auto* text = qobject_cast<TextBox*>(control)) {
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            connect(line, &QLineEdit::textEdited, text,
                    [text](const QString& value) { text->edit(value); });
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
            connect(plain, &QPlainTextEdit::textChanged, text, [this, text, plain] {
                if (!syncing_) {
                    // The model keeps line breaks as CR LF, as the described text boxes do.
                    text->edit(
                        plain->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
                }
            });
        }
    } else if (auto* list = qobject_cast<ListView*>(control)) {
        if (auto* view = qobject_cast<QTreeView*>(widget)) {
            new ListViewAdapter(*list, *view, this);
        }
    }
}

void FormBinder::bindPanels(Control* control, QWidget* widget) {
    auto* status = qobject_cast<StatusBar*>(control);
    auto* bar = qobject_cast<QStatusBar*>(widget);
    if (!status || !bar) {
        return;
    }
    for (int panel = 1; panel <= status->panelCount(); ++panel) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("%1_panel%2").arg(status->name()).arg(panel));
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        label->setProperty("panel", panel);
        label->installEventFilter(this);
        controlOf_.insert(label, status);
        bar->addWidget(label, panel == 2 ? 1 : 0);
    }
}

void FormBinder::sync(Control* control) {
    QWidget* widget = widgets_.value(control);
    if (!widget) {
        return;
    }
    syncing_ = true;
    widget->setEnabled(control->enabled());
    widget->setVisible(control->visible());
    widget->setToolTip(control->toolTip());
    if (!control->geometry().isNull()) {
        widget->setGeometry(toPixels(control->geometry()));
    }
    if (auto* button = qobject_cast<Button*>(control)) {
        if (auto* push = qobject_cast<QPushButton*>(widget)) {
            push->setText(button->caption());
            push->setStyleSheet(
                colorSheet(QStringLiteral("background-color"), button->backColor()));
        }
    } else if (auto* check = qobject_cast<CheckBox*>(control)) {
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            box->setText(check->caption());
            box->setChecked(check->value());
        }
    } else if (auto* option = qobject_cast<OptionButton*>(control)) {
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            radio->setText(option->caption());
            radio->setChecked(option->value());
        }
    } else if (auto* combo = qobject_cast<ComboBox*>(control)) {
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            QStringList current;
            for (int i = 0; i < box->count(); ++i) {
                current.append(box->itemText(i));
            }
            if (current != combo->items()) {
                box->clear();
                box->addItems(combo->items());
            }
            box->setCurrentIndex(combo->listIndex());
            if (box->isEditable() && box->currentText() != combo->text()) {
                box->setEditText(combo->text());
            }
            box->view()->setMinimumWidth(combo->dropDownWidth());
        }
    } else if (auto* text = qobject_cast<TextBox*>(control)) {
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            if (line->text() != text->text()) {
                line->setText(text->text());
            }
            line->setReadOnly(text->locked());
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
            QString shown = text->text();
            shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (plain->toPlainText() != shown) {
                plain->setPlainText(shown);
            }
            plain->setReadOnly(text->locked());
        }
    } else if (auto* label = qobject_cast<Label*>(control)) {
        if (auto* qlabel = qobject_cast<QLabel*>(widget)) {
            qlabel->setText(label->caption());
            qlabel->setStyleSheet(colorSheet(QStringLiteral("color"), label->foreColor()));
            qlabel->setCursor(label->handCursor() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        }
    } else if (auto* frame = qobject_cast<Frame*>(control)) {
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(frame->caption());
        }
    } else if (auto* picture = qobject_cast<PictureBox*>(control)) {
        if (auto* qlabel = qobject_cast<QLabel*>(widget); qlabel && !picture->picture().isEmpty()) {
            qlabel->setPixmap(QPixmap(picture->picture()));
        }
        if (picture->backColor().isValid()) {
            widget->setAutoFillBackground(true);
            QPalette palette = widget->palette();
            palette.setColor(QPalette::Window, QColor(QRgb(picture->backColor().rgb())));
            widget->setPalette(palette);
        }
    } else if (auto* progress = qobject_cast<ProgressBar*>(control)) {
        if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
            bar->setRange(progress->min(), progress->max());
            bar->setValue(progress->value());
        }
    } else if (auto* status = qobject_cast<StatusBar*>(control)) {
        for (int panel = 1; panel <= status->panelCount(); ++panel) {
            if (auto* label = widget->findChild<QLabel*>(
                    QStringLiteral("%1_panel%2").arg(status->name()).arg(panel))) {
                label->setText(status->panelText(panel));
            }
        }
    }
    syncing_ = false;
}

// --- menus ------------------------------------------------------------------------------------

void FormBinder::bindMenus() {
    auto* main = qobject_cast<QMainWindow*>(&form_);
    for (MenuItem* menu : window_.menus()) {
        QAction* action = menuAction(menu);
        if (main) {
            main->menuBar()->addAction(action);
        }
    }
}

QAction* FormBinder::menuAction(MenuItem* item) {
    QAction* action = nullptr;
    if (item->isSeparator()) {
        action = new QAction(this);
        action->setSeparator(true);
    } else if (!item->items().isEmpty()) {
        auto* menu = new QMenu(item->caption(), &form_);
        menus_.insert(item, menu);
        for (MenuItem* child : item->items()) {
            menu->addAction(menuAction(child));
        }
        action = menu->menuAction();
    } else {
        action = new QAction(item->caption(), this);
        connect(action, &QAction::triggered, item, [item] { item->click(); });
    }
    action->setObjectName(item->name());
    actions_.insert(item, action);
    connect(item, &Control::changed, this, [this, item] { syncMenuItem(item); });
    syncMenuItem(item);
    return action;
}

void FormBinder::syncMenuItem(MenuItem* item) {
    QAction* action = actions_.value(item);
    if (!action) {
        return;
    }
    if (!item->isSeparator()) {
        action->setText(item->caption());
    }
    action->setEnabled(item->enabled());
    action->setVisible(item->visible());
    action->setCheckable(item->checked() || action->isCheckable());
    action->setChecked(item->checked());
}

void FormBinder::popup(MenuItem* menu) {
    // A menu hidden from the menu bar still pops up with its items.
    QMenu popup;
    for (MenuItem* child : menu->items()) {
        popup.addAction(actions_.value(child));
    }
    popup.exec(QCursor::pos());
}

// --- mouse on labels, pictures and status panels ----------------------------------------------

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_) {
        return windowEvent(event);
    }
    Control* control = controlOf_.value(watched);
    if (!control) {
        return false;
    }
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint twips = mouse->position().toPoint() * kTwipsPerPixel;
    if (auto* status = qobject_cast<StatusBar*>(control)) {
        if (type == QEvent::MouseButtonRelease) {
            status->clickPanel(watched->property("panel").toInt());
        }
    } else if (auto* label = qobject_cast<Label*>(control)) {
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            label->click();
        }
    } else if (auto* picture = qobject_cast<PictureBox*>(control)) {
        const MouseButton button =
            toMouseButton(type == QEvent::MouseMove ? Qt::LeftButton : mouse->button());
        if (type == QEvent::MouseButtonPress) {
            picture->mouseDown(button, twips);
        } else if (type == QEvent::MouseMove) {
            picture->mouseMove(button, twips);
        } else {
            picture->mouseUp(button, twips);
        }
    }
    return false;
}
