#pragma once

#include <QString>

// Plays short sound files in the background.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Whether anything can be heard at all (a machine without audio output, a run
    // without a desktop): where nothing plays, nothing needs to be prepared for it.
    virtual bool canPlay() const = 0;
    // Starts playing a WAVE file and returns at once; a file that cannot be played is
    // not heard, without a message.
    virtual void play(const QString& wavFile) = 0;
};
