#include "platform/qt/QtScreenMetrics.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include "platform/qt/QtWindowHost.h"

QtScreenMetrics::QtScreenMetrics(const QtWindowHost& host) : host_(host) {}

QSize QtScreenMetrics::screenPixels() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

int QtScreenMetrics::textWidth(const QString& text, const Control* control) const {
    const QWidget* widget = control ? host_.widgetOf(control) : nullptr;
    const QFontMetrics metrics(widget ? widget->font() : QApplication::font());
    return metrics.horizontalAdvance(text);
}

int QtScreenMetrics::scrollBarWidth() const {
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

int QtScreenMetrics::screenLeft(const Control& control) const {
    const QWidget* widget = host_.widgetOf(&control);
    return widget ? widget->mapToGlobal(QPoint(0, 0)).x() : 0;
}
