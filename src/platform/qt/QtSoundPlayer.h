#pragma once

#include <QHash>
#include <QString>

#include "platform/desktop/SoundPlayer.h"

class QSoundEffect;

// Plays the cues through QSoundEffect, which takes PCM WAVE without any media plug-in.
// Nothing plays on a machine without an audio output. The GStreamer backend is chosen
// before the first use: the FFmpeg one crashes without an audio device.
class QtSoundPlayer final : public SoundPlayer {
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    bool canPlay() const override;
    void play(const QString& wavFile) override;

  private:
    // One effect per file, kept: a sound that is still playing must not be destroyed.
    QHash<QString, QSoundEffect*> effects_;
};
