#pragma once

#include <QStringList>
#include <functional>

#include "sound/device_control.h"

// Records every property put as a word ("Stop", ..., or the file name), so the protocol a
// caller speaks can be checked; `onCommand` may act on a command, or refuse it by throwing.
class RecordingDevice final : public buffon::DeviceControl {
public:
    void setCommand(buffon::DeviceCommand command) override
    {
        static const char* const kWords[] = {"Stop", "Close", "Open", "Sound"};
        puts << QString::fromLatin1(kWords[int(command)]);
        if (onCommand) {
            onCommand(puts.last());
        }
    }
    void setFileName(const QString& fileName) override { puts << fileName; }

    QStringList puts;
    std::function<void(const QString&)> onCommand;
};
