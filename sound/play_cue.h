#pragma once

#include <QString>

#include "experiment/run_services.h"
#include "sound/device_control.h"

namespace buffon {

// Stop and close whatever the device holds, then open the named file and sound it.
// The name is handed over as it is; nothing is read back.
void playCue(DeviceControl& device, const QString& fileName);

// The run's view of the cue device.
class DeviceCuePlayer final : public CuePlayer {
public:
    explicit DeviceCuePlayer(DeviceControl& device) : device_(device) {}

    void play(const std::string& fileName) override
    {
        playCue(device_, QString::fromStdString(fileName));
    }

private:
    DeviceControl& device_;
};

}  // namespace buffon
