// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <optional>

#include "sound/device_control.h"

class QSoundEffect;

namespace buffon {

// The sound device behind the window's cues, over QSoundEffect: Sound starts the sound and
// returns at once. A bare file name is looked for in the current directory first, then among
// the cues built into the program. A missing or unplayable file, or no audio output, leaves
// the cue silent with one warning on stderr.
class MultimediaControl final : public QObject, public DeviceControl {
    Q_OBJECT

public:
    explicit MultimediaControl(QObject* parent = nullptr);
    ~MultimediaControl() override;

    void setCommand(DeviceCommand command) override;
    void setFileName(const QString& fileName) override;
    // Finds the audio output and decodes the cue ahead of the first Open, which would
    // otherwise pay for both.
    void preload(const QString& fileName) override;

    bool isOpen() const { return open_; }
    // Where the open file was found; empty while nothing is open or the cue is silent.
    QUrl openSource() const { return open_ ? source_ : QUrl(); }

    static QUrl resolveCue(const QString& fileName);
    // Whether the file is a wave file QSoundEffect can play: PCM samples in a format an output
    // takes, and some of them, all there.
    static bool isPlayableWave(const QUrl& source);

private:
    void stop();
    void close();
    void open();
    void sound();
    void warnOnce(const QString& message);
    bool haveAudioOutput();
    // Where the cue can sound, the effect holds it, loaded.
    void load(const QUrl& source);

    QString fileName_;
    QUrl source_;
    bool open_ = false;
    std::optional<bool> haveAudioOutput_;  // asked when first needed
    QSoundEffect* effect_ = nullptr;
    QSet<QString> warned_;
};

}  // namespace buffon
