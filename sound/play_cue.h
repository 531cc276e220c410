#pragma once

#include <QString>

#include "device_control.h"
#include "run_services.h"

namespace buffon {

// Stop and close whatever the device holds, then open the named file and sound it.
// The name is handed over as it is; nothing is read back.
void PlayCue(DeviceControl& device, const QString& fileName);

// The run's view of the cue device.
class DeviceCuePlayer final : public CuePlayer {
public:
    explicit DeviceCuePlayer(DeviceControl& device) : device_(device) {}

    void PlayCue(const std::string& fileName) override;

private:
    DeviceControl& device_;
};

}  // namespace buffon
