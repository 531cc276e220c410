// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "window/main_window.h"

namespace {

// Qt ends a program it cannot show with an abort and a hint to reinstall; a user without a
// display is better told what is missing.
void reportMissingDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "buffon-needle: no display found; start it on a desktop, or give it one "
                     "with DISPLAY (for example: xvfb-run buffon-needle)\n");
        std::_Exit(1);
    }
    if (QByteArray(context.category ? context.category : "").startsWith("qt.qpa")) {
        return;  // the platform's own account of the same failure
    }
    std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("buffon-needle"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BUFFON_VERSION));
    const buffon::CommandLine commandLine = buffon::readCommandLine(argc, argv);
    if (commandLine.exitStatus) {
        return *commandLine.exitStatus;
    }

    qInstallMessageHandler(reportMissingDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    QApplication::setDesktopFileName(QStringLiteral("org.example.buffon_needle"));

    buffon::MainWindow window;
    window.show();
    // Closing the window, through Exit or the frame, ends the program.
    return QApplication::exec();
}
