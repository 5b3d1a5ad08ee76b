#pragma once

#include <QStringList>

#include "platform/desktop/SoundPlayer.h"

// A player that hears everything: it records the files it was asked to play, in order.
class RecordingSoundPlayer final : public SoundPlayer {
  public:
    bool canPlay() const override { return true; }
    void play(const QString& wavFile) override { played.append(wavFile); }

    QStringList played;
};
