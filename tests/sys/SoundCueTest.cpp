// The cue files: written once as short PCM WAVE tones, never rewritten (a sound of the
// user's own stays), and not written at all where nothing can be heard.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include "platform/desktop/HeadlessDesktop.h"
#include "support/RecordingSoundPlayer.h"
#include "sys/SoundCue.h"

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A little-endian number of `size` bytes at `at`.
quint32 number(const QByteArray& bytes, int at, int size) {
    quint32 value = 0;
    for (const char byte : bytes.mid(at, size)) {
        value = value >> 8 | quint32(uchar(byte)) << (8 * (size - 1));
    }
    return value;
}

}  // namespace

TEST(SoundCue, EachCueIsWrittenOnceAsAShortWaveAndThenOnlyPlayed) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data/"));  // made when missing
    RecordingSoundPlayer player;
    QSet<QByteArray> waves;
    QStringList paths;
    for (const int cue : {kCueWebPage, kCueRunEnded, kCueFailed}) {
        PlaySoundCue(cue, folder, player);
        paths.append(folder + QString::number(cue) + QStringLiteral(".wav"));
        const QByteArray wave = readFile(paths.last());
        ASSERT_GE(wave.size(), 44) << cue;
        EXPECT_EQ(wave.left(4), "RIFF");
        EXPECT_EQ(number(wave, 4, 4), quint32(wave.size() - 8));
        EXPECT_EQ(wave.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(number(wave, 20, 2), 1u);  // PCM
        EXPECT_EQ(wave.mid(36, 4), "data");
        EXPECT_EQ(number(wave, 40, 4), quint32(wave.size() - 44));
        const double seconds = double(number(wave, 40, 4)) / number(wave, 28, 4);
        EXPECT_GT(seconds, 0.2) << cue;
        EXPECT_LT(seconds, 1.0) << cue;
        waves.insert(wave);
    }
    EXPECT_EQ(waves.size(), 3);  // three tones to tell apart
    EXPECT_EQ(player.played, paths);

    QFile own(paths[1]);
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("the user's own sound");
    own.close();
    PlaySoundCue(kCueRunEnded, folder, player);
    EXPECT_EQ(readFile(paths[1]), "the user's own sound");
    EXPECT_EQ(player.played.last(), paths[1]);
}

TEST(SoundCue, NothingIsWrittenWhereNothingCanBeHeardNorForANumberThatIsNoCue) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data/"));
    HeadlessDesktop silent;
    PlaySoundCue(kCueFailed, folder, silent);
    EXPECT_FALSE(QDir(folder).exists());

    RecordingSoundPlayer player;
    PlaySoundCue(104, folder, player);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("104.wav")));
    EXPECT_EQ(player.played, QStringList());
}
