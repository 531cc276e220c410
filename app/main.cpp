// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <fcntl.h>
#include <unistd.h>
#include <QApplication>

#include "app/command_line.h"
#include "app/platform_failure.h"
#include "window/main_window.h"

namespace {

// A standard stream the program was started without is held on /dev/null, read-only: otherwise
// the display's connection would take its number, and a line meant for stderr would corrupt it.
// Read-only, a write to it still fails as on a closed one.
void holdClosedStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDONLY) != fd) {
            return;
        }
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    holdClosedStandardStreams();
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
    window.show();
    // Some platforms start without a screen and fail only when the window is made.
    buffon::platformStarted();
    // Closing the window, through Exit or the frame, ends the program.
    return QApplication::exec();
}
