// How long a click on the 50,000 button keeps the real window busy, and whether repeated runs
// make the process grow. Meant for an X server (Xvfb is enough) through the xcb platform.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "window/main_window.h"

namespace {

constexpr int kTimedRuns = 20;
constexpr int kMemoryRuns = 100;

double milliseconds(qint64 nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double maximum(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

// Lets the queued update of the board and the labels be painted and handed to the X server.
void settleEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QByteArray statusField(const QByteArray& field)
{
    // The kernel reports a size of zero for this file, so it is read whole, not by size.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith(field + ':')) {
                return line.mid(field.size() + 1).simplified();
            }
        }
    }
    return "unknown";
}

void printMemory(const char* when, const QByteArray& rss, const QByteArray& hwm)
{
    std::printf("  %-30s VmRSS %-12s VmHWM %s\n", when, rss.constData(), hwm.constData());
}

void printMemory(const char* when)
{
    printMemory(when, statusField("VmRSS"), statusField("VmHWM"));
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr,
                     "note: platform is '%s', not xcb; the figures do not include an X server\n",
                     qUtf8Printable(QGuiApplication::platformName()));
    }

    buffon::MainWindow form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window was never exposed\n");
        return 1;
    }
    settleEvents();

    auto* button = form.findChild<QPushButton*>(QStringLiteral("Command7"));
    auto* estimate = form.findChild<QLabel*>(QStringLiteral("Label2"));
    auto* count = form.findChild<QLabel*>(QStringLiteral("Label4"));
    if (!button || !estimate || !count) {
        std::fprintf(stderr, "the 50,000 button or a result label is missing\n");
        return 1;
    }

    const QByteArray rssBefore = statusField("VmRSS");
    const QByteArray hwmBefore = statusField("VmHWM");

    QByteArray rssFirst;
    QByteArray hwmFirst;
    std::vector<double> clickTimes;
    std::vector<double> paintedTimes;
    for (int run = 0; run < kTimedRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(button, Qt::LeftButton);
        clickTimes.push_back(milliseconds(timer.nsecsElapsed()));
        settleEvents();
        paintedTimes.push_back(milliseconds(timer.nsecsElapsed()));
        if (estimate->text().isEmpty() && count->text().isEmpty()) {
            std::fprintf(stderr, "run %d left both result labels empty\n", run + 1);
            return 1;
        }
        if (run == 0) {
            rssFirst = statusField("VmRSS");
            hwmFirst = statusField("VmHWM");
        }
    }

    std::printf("50,000-needle runs through the window, %d clicks on Command7 (platform %s)\n",
                kTimedRuns, qUtf8Printable(QGuiApplication::platformName()));
    std::printf(
        "  until the click returns (all needles drawn, labels set, including the"
        " board's on-the-spot repaints during the run):\n"
        "    median %.2f ms, max %.2f ms, first %.2f ms\n",
        median(clickTimes), maximum(clickTimes), clickTimes.front());
    std::printf(
        "  until the events queued by the run are processed as well (final board and"
        " labels painted and sent to the X server, without waiting for it to draw):\n"
        "    median %.2f ms, max %.2f ms, first %.2f ms\n",
        median(paintedTimes), maximum(paintedTimes), paintedTimes.front());

    std::printf("\nMemory of this process (/proc/self/status)\n");
    printMemory("window shown, before any run", rssBefore, hwmBefore);
    printMemory("after the first run", rssFirst, hwmFirst);
    printMemory(qPrintable(QStringLiteral("after %1 runs").arg(kTimedRuns)));
    for (int run = 1; run <= kMemoryRuns; ++run) {
        QTest::mouseClick(button, Qt::LeftButton);
        settleEvents();
        if (run == 1) {
            printMemory(qPrintable(QStringLiteral("after %1 runs").arg(kTimedRuns + run)));
        }
    }
    printMemory(qPrintable(QStringLiteral("after %1 runs").arg(kTimedRuns + kMemoryRuns)));
    return 0;
}
