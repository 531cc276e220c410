#include "sound/play_cue.h"

namespace buffon {

void playCue(DeviceControl& device, const QString& fileName)
{
    device.setCommand(DeviceCommand::Stop);
    device.setCommand(DeviceCommand::Close);
    device.setFileName(fileName);
    device.setCommand(DeviceCommand::Open);
    device.setCommand(DeviceCommand::Sound);
}

}  // namespace buffon
