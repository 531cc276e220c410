// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QCoreApplication>
#include <QGuiApplication>

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
    QCoreApplication::setApplicationName(QStringLiteral("buffon-needle-stats"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BUFFON_VERSION));
    buffon::ParsedCommandLine command;
    {
        QCoreApplication app(argc, argv);
        command = buffon::readCommandLine(QCoreApplication::arguments());
    }
    if (!command.options) {
        return buffon::reportCommandLine(command);
    }
    if (const int status = buffon::checkOutputFiles(*command.options); status != 0) {
        return status;
    }
    const buffon::StatsOptions& options = *command.options;
    if (options.plotPath.isEmpty() &&
        (options.tracePath.isEmpty() ||
         options.tracePath.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))) {
        return buffon::runStats(options);
    }
    // Only plots need a GUI application, for their fonts; they never need a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(withoutSessionRemarks);
    QGuiApplication app(argc, argv);
    return buffon::runStats(options);
}
