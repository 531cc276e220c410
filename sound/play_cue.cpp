#include "play_cue.h"

namespace buffon {

void PlayCue(DeviceControl& device, const QString& fileName)
{
    device.SetCommand(QStringLiteral("Stop"));
    device.SetCommand(QStringLiteral("Close"));
    device.SetFileName(fileName);
    device.SetCommand(QStringLiteral("Open"));
    device.SetCommand(QStringLiteral("Sound"));
}

void DeviceCuePlayer::PlayCue(const std::string& fileName)
{
    buffon::PlayCue(device_, QString::fromStdString(fileName));
}

}  // namespace buffon
