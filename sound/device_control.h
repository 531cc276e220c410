#pragma once

#include <QString>
#include <stdexcept>

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
};

}  // namespace buffon
