#pragma once

#include <QString>

class SoundPlayer;

// The cues of the download window.
constexpr int kCueWebPage = 101;   // a download arrived as a web page
constexpr int kCueRunEnded = 102;  // the list is finished, or the failure stop ended the run
constexpr int kCueFailed = 103;    // a download failed

// Plays cue `number` from <dataFolder>/<number>.wav and returns at once. The program's
// own tone is written there the first time, when no file exists; an existing file (a
// sound of the user's own included) is never rewritten. Nothing is written or played
// where the player cannot play; a number that is no cue plays only a file that exists.
void PlaySoundCue(int number, const QString& dataFolder, SoundPlayer& player);
