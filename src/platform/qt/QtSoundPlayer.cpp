#include "platform/qt/QtSoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer() {
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

QtSoundPlayer::~QtSoundPlayer() {
    qDeleteAll(effects_);
}

bool QtSoundPlayer::canPlay() const {
    return !QMediaDevices::audioOutputs().isEmpty();
}

void QtSoundPlayer::play(const QString& wavFile) {
    if (!canPlay()) {
        return;
    }
    QSoundEffect*& effect = effects_[wavFile];
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(wavFile));
    }
    effect->play();
}
