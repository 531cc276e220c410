#include "sound/multimedia_control.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>

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
        return;
    }
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
    if (effect_->source() != source_) {
        effect_->setSource(source_);
    }
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
        haveAudioOutput_ = !QMediaDevices::defaultAudioOutput().isNull();
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
