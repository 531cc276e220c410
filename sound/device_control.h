// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <stdexcept>

#include "experiment/run_services.h"

namespace buffon {

// A failure of a multimedia device command; it ends the handler that sent the command.
class DeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class DeviceCommand { Stop, Close, Open, Sound };

// A multimedia device driven by two property puts: a command, carried out as it is set, and
// the name of the file the next Open opens.
class DeviceControl {
public:
    virtual ~DeviceControl() = default;

    virtual void setCommand(DeviceCommand command) = 0;
    virtual void setFileName(const QString& fileName) = 0;
    // Gets ready to open this file quickly later, where the device has setting up to do; it
    // changes nothing the commands see.
    virtual void preload(const QString& fileName) { Q_UNUSED(fileName); }
};

// Stop and close whatever the device holds, then open the named file and sound it.
// The name is handed over as it is; nothing is read back.
inline void playCue(DeviceControl& device, const QString& fileName)
{
    device.setCommand(DeviceCommand::Stop);
    device.setCommand(DeviceCommand::Close);
    device.setFileName(fileName);
    device.setCommand(DeviceCommand::Open);
    device.setCommand(DeviceCommand::Sound);
}

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
