// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

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
    {
        // Help and version need no display.
        QCoreApplication commandLine(argc, argv);
        QCommandLineParser parser;
        parser.setApplicationDescription(QStringLiteral(
            "Estimates pi by Buffon's needle experiment and shows every needle as it falls.\n"
            "The window takes no other options; buffon-needle-stats runs many runs at once."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.process(commandLine);
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
