#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

#include "device_control.h"

// Records every property put, so the protocol a caller speaks can be checked.
class RecordingDevice final : public QObject, public buffon::DeviceControl {
public:
    void SetCommand(const QString& command) override
    {
        puts << QStringLiteral("command ") + command;
        if (onCommand) {
            onCommand(command);
        }
    }
    void SetFileName(const QString& fileName) override
    {
        puts << QStringLiteral("file ") + fileName;
    }

    QStringList puts;
    std::function<void(const QString&)> onCommand;
};
