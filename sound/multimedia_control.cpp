// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "sound/multimedia_control.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QtEndian>

namespace buffon {

MultimediaControl::MultimediaControl(QObject* parent) : QObject(parent) {}

MultimediaControl::~MultimediaControl() = default;

void MultimediaControl::setCommand(DeviceCommand command)
{
    switch (command) {
    case DeviceCommand::Stop:
        return stop();
    case DeviceCommand::Close:
        return close();
    case DeviceCommand::Open:
        return open();
    case DeviceCommand::Sound:
        return sound();
    }
}

void MultimediaControl::setFileName(const QString& fileName)
{
    fileName_ = fileName;
}

QUrl MultimediaControl::resolveCue(const QString& fileName)
{
    if (fileName.isEmpty()) {
        return {};
    }
    const QFileInfo local(QDir::current(), fileName);
    if (local.isFile()) {
        return QUrl::fromLocalFile(local.absoluteFilePath());
    }
    const QString builtIn = QStringLiteral(":/cues/") + fileName;
    if (QFile::exists(builtIn)) {
        return QUrl(QStringLiteral("qrc") + builtIn);
    }
    return {};
}

void MultimediaControl::stop()
{
    if (open_ && effect_) {
        effect_->stop();
    }
}

void MultimediaControl::close()
{
    stop();
    open_ = false;
}

void MultimediaControl::open()
{
    if (open_) {
        close();
    }
    source_ = resolveCue(fileName_);
    open_ = true;
    if (source_.isEmpty()) {
        warnOnce(QStringLiteral("sound cue \"%1\" not found; it stays silent").arg(fileName_));
    } else if (!isPlayableWave(source_)) {
        warnOnce(
            QStringLiteral("sound cue %1 is not a wave file that can be played; it stays silent")
                .arg(source_.isLocalFile() ? source_.toLocalFile() : source_.toString()));
        source_.clear();
    } else {
        load(source_);
    }
}

void MultimediaControl::preload(const QString& fileName)
{
    const QUrl source = resolveCue(fileName);
    if (!source.isEmpty() && isPlayableWave(source)) {
        load(source);
    }
}

void MultimediaControl::load(const QUrl& source)
{
    if (!haveAudioOutput()) {
        return;
    }
    if (!effect_) {
        effect_ = new QSoundEffect(this);
        connect(effect_, &QSoundEffect::statusChanged, this, [this] {
            if (effect_->status() == QSoundEffect::Error) {
                warnOnce(QStringLiteral("sound cue %1 cannot be played; it stays silent")
                             .arg(effect_->source().toDisplayString()));
            }
        });
    }
    // Reopening the same file keeps the decoded sound instead of loading it again.
    if (effect_->source() != source) {
        effect_->setSource(source);
    }
}

namespace {

// A format chunk Qt's wave decoder plays: PCM samples of 8, 16 or 32 bits, the channels of a
// sound output (at most 7.1), and blocks of one sample a channel.
bool playableFormat(const QByteArray& format)
{
    if (format.size() < 16) {
        return false;
    }
    const auto field = [&format](int at) {
        return qFromLittleEndian<quint16>(format.constData() + at);
    };
    const quint16 channels = field(2);
    const quint16 bits = field(14);
    return field(0) == 1 && channels >= 1 && channels <= 8 &&
           (bits == 8 || bits == 16 || bits == 32) && field(12) == channels * bits / 8;
}

}  // namespace

bool MultimediaControl::isPlayableWave(const QUrl& source)
{
    QFile file(source.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + source.path()
                                                       : source.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8) != "WAVE") {
        return false;
    }
    // Chunks follow, each an id and a little-endian length: the format must be one that plays,
    // and its samples must follow it, all of them: a file cut short would never load.
    bool playable = false;
    for (QByteArray header = file.read(8); header.size() == 8; header = file.read(8)) {
        const quint32 length = qFromLittleEndian<quint32>(header.constData() + 4);
        if (header.startsWith("fmt ")) {
            playable = playableFormat(file.peek(16));
        } else if (header.startsWith("data")) {
            return playable && length > 0 && length <= file.size() - file.pos();
        }
        if (!file.seek(file.pos() + length + (length & 1))) {
            return false;
        }
    }
    return false;
}

void MultimediaControl::sound()
{
    if (!open_) {
        throw DeviceError("The sound device was told to sound with no file open.");
    }
    if (effect_ && effect_->source() == source_ && !source_.isEmpty()) {
        effect_->play();
    }
}

bool MultimediaControl::haveAudioOutput()
{
    if (!haveAudioOutput_) {
        // Qt's sound server client reports a missing server with a line of its own; the one
        // below says the same in the user's terms, once.
        static QtMessageHandler forward = nullptr;
        forward = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (!message.startsWith(QLatin1String("PulseAudioService:")) && forward) {
                    forward(type, context, message);
                }
            });
        haveAudioOutput_ = !QMediaDevices::defaultAudioOutput().isNull();
        qInstallMessageHandler(forward);
        if (!*haveAudioOutput_) {
            warnOnce(QStringLiteral("no audio output device; sound cues stay silent"));
        }
    }
    return *haveAudioOutput_;
}

void MultimediaControl::warnOnce(const QString& message)
{
    if (warned_.contains(message)) {
        return;
    }
    warned_.insert(message);
    qWarning("buffon-needle: %s", qUtf8Printable(message));
}

}  // namespace buffon
