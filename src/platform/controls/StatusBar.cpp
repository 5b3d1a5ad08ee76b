#include "platform/controls/StatusBar.h"

StatusBar::StatusBar(QObject* owner, const QString& name, int panelCount) : Control(owner, name) {
    for (int i = 0; i < panelCount; ++i) {
        texts_.append(QString());
    }
}

void StatusBar::setPanelText(int panel, const QString& text) {
    if (panel < 1 || panel > texts_.size() || texts_[panel - 1] == text) {
        return;
    }
    texts_[panel - 1] = text;
    notify();
}

void StatusBar::clickPanel(int panel) {
    if (panel >= 1 && panel <= texts_.size() && onPanelClick) {
        onPanelClick(panel);
    }
}
