#include <QCoreApplication>
#include <QGuiApplication>

#include "stats/tool/stats_tool.h"

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
    if (command.options->plotPath.isEmpty()) {
        return buffon::runStats(*command.options);
    }
    // Only the histogram needs a GUI application, for its fonts; it never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return buffon::runStats(*command.options);
}
