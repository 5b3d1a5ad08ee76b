#include "sys/SoundCue.h"

#include <QDir>
#include <QtMath>
#include <initializer_list>

#include "platform/desktop/SoundPlayer.h"
#include "sys/FileSystem.h"

namespace {

constexpr int kSampleRate = 22050;
constexpr int kBytesPerSample = 2;  // 16-bit mono PCM
constexpr double kLoudness = 0.45;
constexpr double kAttackSeconds = 0.005;
constexpr double kReleaseSeconds = 0.025;

// One tone of a cue; 0 Hz is a rest.
struct Note {
    double hz;
    int ms;
};

void appendLittleEndian(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.append(char((value >> (8 * i)) & 0xFF));
    }
}

// Sine tones, each faded in and out so that no note clicks.
QByteArray pcmOf(std::initializer_list<Note> notes) {
    QByteArray pcm;
    for (const Note& note : notes) {
        const int samples = kSampleRate * note.ms / 1000;
        for (int i = 0; i < samples; ++i) {
            const double t = double(i) / kSampleRate;
            const double left = double(samples - i) / kSampleRate;
            const double fade = std::min({1.0, t / kAttackSeconds, left / kReleaseSeconds});
            const double value = note.hz > 0 ? qSin(2 * M_PI * note.hz * t) * fade : 0;
            appendLittleEndian(pcm, quint32(qint16(value * kLoudness * 32767)), kBytesPerSample);
        }
    }
    return pcm;
}

QByteArray waveOf(const QByteArray& pcm) {
    QByteArray wave("RIFF");
    appendLittleEndian(wave, quint32(36 + pcm.size()), 4);
    wave += "WAVEfmt ";
    appendLittleEndian(wave, 16, 4);  // the size of the format chunk
    appendLittleEndian(wave, 1, 2);   // PCM
    appendLittleEndian(wave, 1, 2);   // one channel
    appendLittleEndian(wave, kSampleRate, 4);
    appendLittleEndian(wave, kSampleRate * kBytesPerSample, 4);
    appendLittleEndian(wave, kBytesPerSample, 2);
    appendLittleEndian(wave, 8 * kBytesPerSample, 2);
    wave += "data";
    appendLittleEndian(wave, quint32(pcm.size()), 4);
    return wave + pcm;
}

// Three short tones that are easy to tell apart: a quick high call for a web page, a
// rising chord for the end of the run, two falling low notes for a failure.
QByteArray cueWave(int number) {
    switch (number) {
        case kCueWebPage:
            return waveOf(pcmOf({{880, 110}, {0, 50}, {880, 110}, {0, 50}, {1175, 180}}));
        case kCueRunEnded:
            return waveOf(pcmOf({{523.25, 150}, {659.25, 150}, {783.99, 150}, {1046.5, 330}}));
        case kCueFailed:
            return waveOf(pcmOf({{392, 220}, {0, 40}, {261.63, 360}}));
        default:
            return {};
    }
}

}  // namespace

void PlaySoundCue(int number, const QString& dataFolder, SoundPlayer& player) {
    if (!player.canPlay()) {
        return;
    }
    const QString path =
        QDir(dataFolder).filePath(QString::number(number) + QStringLiteral(".wav"));
    if (!FileExists(path)) {
        const QByteArray wave = cueWave(number);
        if (wave.isEmpty() || !QDir().mkpath(dataFolder) || !ReplaceFile(path, wave)) {
            return;
        }
    }
    player.play(path);
}
