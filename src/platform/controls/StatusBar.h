#pragma once

#include <QStringList>

#include "platform/controls/Control.h"

// A status bar with text panels, counted from 1.
class StatusBar : public Control {
    Q_OBJECT
  public:
    StatusBar(QObject* owner, const QString& name, int panelCount);

    int panelCount() const { return int(texts_.size()); }
    QString panelText(int panel) const { return texts_.value(panel - 1); }
    void setPanelText(int panel, const QString& text);

    // The user's click on a panel.
    void clickPanel(int panel);
    std::function<void(int panel)> onPanelClick;

  private:
    QStringList texts_;
};
