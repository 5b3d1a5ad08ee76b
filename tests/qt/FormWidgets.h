#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeView>

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

// What the form tests compare between a window's controls and its form's widgets.

// The widget classes that the binder joins to each kind of control.
inline bool fitsControl(const Control* control, const QWidget* widget) {
    if (qobject_cast<const Button*>(control)) {
        return qobject_cast<const QPushButton*>(widget);
    }
    if (qobject_cast<const CheckBox*>(control)) {
        return qobject_cast<const QCheckBox*>(widget);
    }
    if (qobject_cast<const OptionButton*>(control)) {
        return qobject_cast<const QRadioButton*>(widget);
    }
    if (qobject_cast<const ComboBox*>(control)) {
        return qobject_cast<const QComboBox*>(widget);
    }
    if (const auto* text = qobject_cast<const TextBox*>(control)) {
        return text->multiLine() == bool(qobject_cast<const QPlainTextEdit*>(widget));
    }
    if (qobject_cast<const Label*>(control)) {
        return qobject_cast<const QLabel*>(widget);
    }
    if (qobject_cast<const Frame*>(control)) {
        return qobject_cast<const QGroupBox*>(widget);
    }
    if (qobject_cast<const ListView*>(control)) {
        return qobject_cast<const QTreeView*>(widget);
    }
    if (qobject_cast<const StatusBar*>(control)) {
        return qobject_cast<const QStatusBar*>(widget);
    }
    if (qobject_cast<const ProgressBar*>(control)) {
        return qobject_cast<const QProgressBar*>(widget);
    }
    return qobject_cast<const PictureBox*>(control);
}

// The caption a control shows, as its form gives it before any binding.
inline QString formText(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    return {};
}

inline QString modelText(const Control* control) {
    if (const auto* button = qobject_cast<const Button*>(control)) {
        return button->caption();
    }
    if (const auto* check = qobject_cast<const CheckBox*>(control)) {
        return check->caption();
    }
    if (const auto* option = qobject_cast<const OptionButton*>(control)) {
        return option->caption();
    }
    if (const auto* label = qobject_cast<const Label*>(control)) {
        return label->caption();
    }
    if (const auto* frame = qobject_cast<const Frame*>(control)) {
        return frame->caption();
    }
    return {};
}
