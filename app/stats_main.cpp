// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QGuiApplication>
#include <clocale>
#include <exception>
#include <string>
#include <vector>

#include "app/standard_streams.h"
#include "stats/tool/complaint.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/stats_tool.h"

namespace {

QtMessageHandler qtHandler = nullptr;

// Only the program's own lines belong on stderr: Qt's remark that a desktop session's runtime
// folder is missing or unfit (root, cron, ssh) means nothing to a program that draws no window.
void withoutSessionRemarks(QtMsgType type, const QMessageLogContext& context,
                           const QString& message)
{
    if (!message.startsWith(QLatin1String("QStandardPaths: "))) {
        qtHandler(type, context, message);
    }
}

int run(int argc, char* argv[])
{
    // The arguments stay bytes: a file name reaches the system as it was typed, in any encoding.
    const std::vector<std::string> arguments(argv, argv + argc);
    const buffon::ParsedCommandLine command = buffon::readCommandLine(arguments);
    if (!command.options) {
        return buffon::reportCommandLine(command);
    }
    const buffon::StatsOptions& options = *command.options;
    if (const int status = buffon::checkOutputFiles(options); status != 0) {
        return status;
    }
    if (!options.drawsPictures()) {
        return buffon::runStats(options);
    }
    // Plots need a GUI application for their fonts, never a display; and none of the command
    // line, which was read above, is Qt's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(withoutSessionRemarks);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    // Qt takes the user's locale for everything; numbers stay as every other run writes them.
    std::setlocale(LC_NUMERIC, "C");
    if (!buffon::plotFontsDrawText()) {
        // The pictures are still worth their lines and dots.
        buffon::complain(
            "no font here draws the pictures' text, which shows as boxes; install "
            "fonts-dejavu-core or fonts-ipafont-gothic");
    }
    return buffon::runStats(options);
}

}  // namespace

int main(int argc, char* argv[])
{
    buffon::holdClosedStandardStreams();
    // The system's reasons in the user's language, whatever is asked for; numbers never.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    try {
        return run(argc, argv);
    } catch (const std::exception& failure) {
        // Left unhandled, the program would abort and leave its temporary files behind; unwound,
        // they are removed.
        buffon::complain(failure.what());
        return 1;
    }
}
