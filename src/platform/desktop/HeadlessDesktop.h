#pragma once

#include <QSize>
#include <QString>

#include "platform/desktop/Clipboard.h"
#include "platform/desktop/ScreenMetrics.h"
#include "platform/desktop/Shell.h"
#include "platform/desktop/SoundPlayer.h"

// The desktop of a run without a display: nothing opens, nothing sounds, the clipboard is
// a text in memory, and the screen is a common one measured with a fixed character width.
class HeadlessDesktop final : public Shell,
                              public Clipboard,
                              public ScreenMetrics,
                              public SoundPlayer {
  public:
    bool openFile(const QString&) override { return false; }
    bool showInFolder(const QString&) override { return false; }
    bool openFolder(const QString&) override { return false; }
    bool openUrl(const QString&) override { return false; }
    bool openInTextEditor(const QString&) override { return false; }

    void clear() override { clipboard_.clear(); }
    void setText(const QString& text) override { clipboard_ = text; }
    QString text() const override { return clipboard_; }

    QSize screenPixels() const override { return {1920, 1080}; }
    int textWidth(const QString& text, const Control* = nullptr) const override {
        return int(text.size()) * kCharacterWidth;
    }
    int scrollBarWidth() const override { return 17; }
    int screenLeft(const Control&) const override { return 0; }

    bool canPlay() const override { return false; }
    void play(const QString&) override {}

  private:
    static constexpr int kCharacterWidth = 12;
    QString clipboard_;
};
