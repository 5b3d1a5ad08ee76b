#pragma once

#include <QString>

class QWidget;

// Makes the Qt Designer form of a window by the window's name; nullptr when the
// window has no form.
namespace FormRegistry {
QWidget* create(const QString& windowName);
}
