// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QApplication>

#include "app/command_line.h"
#include "app/platform_failure.h"
#include "app/standard_streams.h"
#include "window/main_window.h"

int main(int argc, char* argv[])
{
    buffon::holdClosedStandardStreams();
    QCoreApplication::setApplicationName(QStringLiteral("buffon-needle"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BUFFON_VERSION));
    const buffon::CommandLine commandLine = buffon::readCommandLine(argc, argv);
    if (commandLine.exitStatus) {
        return *commandLine.exitStatus;
    }

    buffon::reportPlatformFailure(commandLine);
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("org.example.buffon_needle"));

    buffon::MainWindow window;
    window.setModes(commandLine.modes);
    window.show();
    // Some platforms start without a screen and fail only when the window is made.
    buffon::platformStarted();
    // Closing the window, through Exit or the frame, ends the program.
    return QApplication::exec();
}
