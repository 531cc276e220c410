// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QGuiApplication>
#include <string>
#include <vector>

#include "stats/tool/output_file.h"
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

}  // namespace

int main(int argc, char* argv[])
{
    buffon::holdClosedStandardStreams();
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
    return buffon::runStats(options);
}
