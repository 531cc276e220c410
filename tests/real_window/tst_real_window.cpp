// End-to-end test of the real program in a real X session: it is launched as a user would,
// driven with xdotool and judged by screenshots taken with ImageMagick's import. It needs
// DISPLAY with a window manager running, and the program in BUFFON_NEEDLE_BINARY;
// run_real_window_test.sh provides all of that on a private Xvfb display.
//
// The slots run in order and share one program instance: each step starts from where the
// previous one left the window.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>

namespace {

const QString kCaption = QStringLiteral("Scatter needles to find an approximate value of pi !");
const QString kExitBoxTitle = QStringLiteral("Scatter needles to find pi !");
const QSize kClientSize(570, 636);

// The white inside of the board's sunken edge, in client coordinates.
const QRect kBoard(26, 74, 523, 411);
// Lines are ruled, and needles fall, only left of this board column.
constexpr int kRuledWidth = 480;
constexpr int kRuledRows[] = {80, 160, 240, 320, 400};

const QRect kRunThousand(184, 496, 79, 41);
const QRect kInit(464, 496, 86, 41);
const QRect kExit(64, 584, 73, 33);
const QRect kHitCountLabel(376, 552, 105, 17);
const QRect kEstimateLabel(280, 576, 209, 25);

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kFace = qRgb(240, 240, 240);

constexpr int kToolTimeoutMs = 10000;
constexpr int kPollMs = 100;

bool IsRuledRow(int y)
{
    return std::find(std::begin(kRuledRows), std::end(kRuledRows), y) != std::end(kRuledRows);
}

bool IsRulePixel(int x, int y)
{
    return x < kRuledWidth && IsRuledRow(y);
}

QString Hex(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0'));
}

// xdotool matches names with POSIX extended regular expressions.
QString ExactNamePattern(const QString& name)
{
    static const QString kMetacharacters = QStringLiteral(".[]{}()\\*+?^$|");
    QString pattern = QStringLiteral("^");
    for (QChar c : name) {
        if (kMetacharacters.contains(c)) {
            pattern += QLatin1Char('\\');
        }
        pattern += c;
    }
    return pattern + QLatin1Char('$');
}

struct ToolRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    bool ok() const { return finished && exitCode == 0; }
    QString describe() const
    {
        return finished
                   ? QStringLiteral("exit %1: %2").arg(exitCode).arg(QString::fromLocal8Bit(err))
                   : QStringLiteral("timed out");
    }
};

ToolRun RunTool(const QString& program, const QStringList& arguments,
                int timeoutMs = kToolTimeoutMs)
{
    ToolRun run;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs)) {
        run.err = "cannot start " + program.toLocal8Bit();
        return run;
    }
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

ToolRun Xdotool(const QStringList& arguments)
{
    return RunTool(QStringLiteral("xdotool"), arguments);
}

QStringList WindowIds(const QByteArray& xdotoolOutput)
{
    return QString::fromLatin1(xdotoolOutput).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Board pixels failing `expected`, as a count and a few examples in board coordinates.
QString BoardMismatches(const QImage& shot, const std::function<bool(int, int, QRgb)>& expected)
{
    int count = 0;
    QStringList examples;
    for (int y = 0; y < kBoard.height(); ++y) {
        for (int x = 0; x < kBoard.width(); ++x) {
            const QRgb c = shot.pixel(kBoard.left() + x, kBoard.top() + y);
            if (!expected(x, y, c)) {
                if (++count <= 6) {
                    examples << QStringLiteral("(%1,%2)=%3").arg(x).arg(y).arg(Hex(c));
                }
            }
        }
    }
    return count == 0 ? QString()
                      : QStringLiteral("%1 board pixels wrong, e.g. %2")
                            .arg(count)
                            .arg(examples.join(QLatin1String(" ")));
}

// The board as it is at start and after Init: white, ruled in black.
QString FreshBoardMismatches(const QImage& shot)
{
    return BoardMismatches(shot, [](int x, int y, QRgb c) {
        return c == (IsRulePixel(x, y) ? kBlack : kWhite);
    });
}

// A board after a run: red lines, blue and green needles, nothing else and nothing right of
// the ruled width. Red is only ever a line, so it never shows off the ruled rows, and the
// lines are redrawn, so no black or white is left on them.
QString RunBoardMismatches(const QImage& shot)
{
    return BoardMismatches(shot, [](int x, int y, QRgb c) {
        if (x >= kRuledWidth) {
            return c == kWhite;
        }
        if (IsRuledRow(y)) {
            return c == kRed || c == kBlue || c == kGreen;
        }
        return c == kWhite || c == kBlue || c == kGreen;
    });
}

int CountInRect(const QImage& shot, const QRect& rect, const std::function<bool(QRgb)>& match)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += match(shot.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool IsDark(QRgb c)
{
    return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128;
}

int DarkPixels(const QImage& shot, const QRect& label)
{
    return CountInRect(shot, label, IsDark);
}

int NonFacePixels(const QImage& shot, const QRect& label)
{
    return CountInRect(shot, label, [](QRgb c) {
        return c != kFace;
    });
}

int BoardCount(const QImage& shot, QRgb colour)
{
    return CountInRect(shot, kBoard, [colour](QRgb c) {
        return c == colour;
    });
}

QImage BoardOf(const QImage& shot)
{
    return shot.copy(kBoard);
}

// Helpers report failures through QTest; this returns from the calling slot after one.
#define CHECKED(call)                     \
    do {                                  \
        call;                             \
        if (QTest::currentTestFailed()) { \
            return;                       \
        }                                 \
    } while (false)

}  // namespace

class TestRealWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startsWithBlackLinesAndEmptyLabels();
    void runOfAThousandRulesRedAndDrawsNeedles();
    void comingBackFromAnotherProgramKeepsTheBoard();
    void initClearsBoardAndLabels();
    void exitAsksThenEndsTheProgram();
    void cleanupTestCase();

private:
    void launch(QProcess& process, QTemporaryDir& directory);
    void findWindow(const QString& title, const QStringList& exclude, QString& id);
    void grab(const QString& window, QImage& shot, const QString& saveAs = QString());
    void waitForShot(const std::function<bool(const QImage&)>& done, int timeoutMs, QImage& shot);
    void click(const QRect& button);
    void activate(const QString& window);
    void verifyRunning();

    QString binary_;
    QDir shotDir_;
    int shotCount_ = 0;
    QTemporaryDir workDir_;
    QProcess program_;
    QString window_;
    QImage afterRun_;
};

void TestRealWindow::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "DISPLAY must name a running X server");
    binary_ = qEnvironmentVariable("BUFFON_NEEDLE_BINARY");
    QVERIFY2(QFileInfo(binary_).isExecutable(),
             "BUFFON_NEEDLE_BINARY must name the program to test");
    for (const char* tool : {"xdotool", "import"}) {
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(), tool);
    }
    shotDir_ = QDir(qEnvironmentVariable("BUFFON_SCREENSHOT_DIR", QDir::currentPath()));
    QVERIFY2(shotDir_.mkpath(QStringLiteral(".")), qPrintable(shotDir_.path()));

    CHECKED(launch(program_, workDir_));
    CHECKED(findWindow(kCaption, {}, window_));

    const ToolRun geometry = Xdotool({QStringLiteral("getwindowgeometry"), window_});
    QVERIFY2(geometry.ok(), qPrintable(geometry.describe()));
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)"))
            .match(QString::fromLatin1(geometry.out));
    QVERIFY2(size.hasMatch(), geometry.out.constData());
    QCOMPARE(QSize(size.captured(1).toInt(), size.captured(2).toInt()), kClientSize);
}

void TestRealWindow::startsWithBlackLinesAndEmptyLabels()
{
    CHECKED(verifyRunning());
    QImage shot;
    // The lines are ruled once the window is first activated, a moment after it shows.
    CHECKED(waitForShot(
        [](const QImage& s) {
            return FreshBoardMismatches(s).isEmpty();
        },
        5000, shot));
    CHECKED(grab(window_, shot, QStringLiteral("start")));
    QCOMPARE(shot.size(), kClientSize);
    const QString wrong = FreshBoardMismatches(shot);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QCOMPARE(NonFacePixels(shot, kHitCountLabel), 0);
    QCOMPARE(NonFacePixels(shot, kEstimateLabel), 0);
}

void TestRealWindow::runOfAThousandRulesRedAndDrawsNeedles()
{
    CHECKED(verifyRunning());
    CHECKED(click(kRunThousand));
    // The run is over when its count shows and the window stops changing.
    QImage previous;
    QImage shot;
    CHECKED(waitForShot(
        [&previous](const QImage& s) {
            const bool settled = DarkPixels(s, kHitCountLabel) > 0 && s == previous;
            previous = s;
            return settled;
        },
        15000, shot));
    CHECKED(grab(window_, shot, QStringLiteral("after-1000")));
    QVERIFY2(DarkPixels(shot, kHitCountLabel) > 0, "no hit count shown");
    QVERIFY2(DarkPixels(shot, kEstimateLabel) > 0, "no estimate shown");

    const QString wrong = RunBoardMismatches(shot);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    // A thousand needles leave both hits and misses, and most of every line uncovered.
    QVERIFY2(BoardCount(shot, kBlue) > 0, "no hit drawn");
    QVERIFY2(BoardCount(shot, kGreen) > 0, "no miss drawn");
    for (int row : kRuledRows) {
        const int red =
            CountInRect(shot, QRect(kBoard.left(), kBoard.top() + row, kRuledWidth, 1), [](QRgb c) {
                return c == kRed;
            });
        QVERIFY2(red > kRuledWidth / 2,
                 qPrintable(QStringLiteral("row %1 has only %2 red pixels").arg(row).arg(red)));
    }
    afterRun_ = shot;
}

void TestRealWindow::comingBackFromAnotherProgramKeepsTheBoard()
{
    CHECKED(verifyRunning());
    QVERIFY2(!afterRun_.isNull(), "needs the board of the run");

    // Any other X client would do; a second instance is at hand and is a separate process.
    QTemporaryDir otherDir;
    QProcess other;
    CHECKED(launch(other, otherDir));
    const auto stopOther = qScopeGuard([&other] {
        other.terminate();
        if (!other.waitForFinished(5000)) {
            other.kill();
            other.waitForFinished();
        }
    });
    QString otherWindow;
    CHECKED(findWindow(kCaption, {window_}, otherWindow));
    CHECKED(activate(otherWindow));
    CHECKED(activate(window_));

    // Re-ruling would happen as the window takes the activation back; give the program time to
    // do it, checking all along.
    QElapsedTimer watching;
    watching.start();
    QImage shot;
    while (watching.elapsed() < 1000) {
        CHECKED(grab(window_, shot));
        const int black = BoardCount(shot, kBlack);
        QVERIFY2(black == 0, qPrintable(QStringLiteral("%1 black board pixels after coming back; "
                                                       "the lines were re-ruled")
                                            .arg(black)));
        QTest::qWait(kPollMs);
    }
    CHECKED(grab(window_, shot, QStringLiteral("back-from-other-program")));
    const QString wrong = RunBoardMismatches(shot);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QVERIFY2(BoardOf(shot) == BoardOf(afterRun_), "the board changed");
    QVERIFY2(DarkPixels(shot, kHitCountLabel) > 0, "the hit count went");
    QVERIFY2(DarkPixels(shot, kEstimateLabel) > 0, "the estimate went");
}

void TestRealWindow::initClearsBoardAndLabels()
{
    CHECKED(verifyRunning());
    CHECKED(click(kInit));
    QImage shot;
    CHECKED(waitForShot(
        [](const QImage& s) {
            return FreshBoardMismatches(s).isEmpty() && NonFacePixels(s, kHitCountLabel) == 0 &&
                   NonFacePixels(s, kEstimateLabel) == 0;
        },
        5000, shot));
    CHECKED(grab(window_, shot, QStringLiteral("after-init")));
    QCOMPARE(NonFacePixels(shot, kHitCountLabel), 0);
    QCOMPARE(NonFacePixels(shot, kEstimateLabel), 0);
    const QString wrong = FreshBoardMismatches(shot);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestRealWindow::exitAsksThenEndsTheProgram()
{
    CHECKED(verifyRunning());
    CHECKED(click(kExit));
    QString box;
    CHECKED(findWindow(kExitBoxTitle, {window_}, box));
    QImage shot;
    CHECKED(grab(box, shot, QStringLiteral("exit-box")));
    // The program waits for the answer.
    QTest::qWait(300);
    CHECKED(verifyRunning());
    const ToolRun stillThere = Xdotool({QStringLiteral("getwindowname"), box});
    QVERIFY2(stillThere.ok(), "the box went away unanswered");

    // Keys go through XTEST to the focused window; aiming them at the box with --window would
    // send the release to a window that is already gone.
    CHECKED(activate(box));
    const ToolRun answer = Xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    QVERIFY2(answer.ok(), qPrintable(answer.describe()));
    QVERIFY2(program_.waitForFinished(10000), "the program did not end after the answer");
    QCOMPARE(program_.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program_.exitCode(), 0);
}

void TestRealWindow::cleanupTestCase()
{
    if (program_.state() != QProcess::NotRunning) {
        program_.kill();
        program_.waitForFinished();
    }
    const QByteArray output = program_.readAll().trimmed();
    if (!output.isEmpty()) {
        qInfo("program output:\n%s", output.constData());
    }
}

void TestRealWindow::launch(QProcess& process, QTemporaryDir& directory)
{
    QVERIFY2(directory.isValid(), qPrintable(directory.errorString()));
    process.setWorkingDirectory(directory.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(binary_, {});
    QVERIFY2(process.waitForStarted(kToolTimeoutMs), qPrintable(process.errorString()));
}

void TestRealWindow::findWindow(const QString& title, const QStringList& exclude, QString& id)
{
    QElapsedTimer waiting;
    waiting.start();
    while (waiting.elapsed() < kToolTimeoutMs) {
        const ToolRun search = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), ExactNamePattern(title)});
        for (const QString& candidate : WindowIds(search.out)) {
            if (exclude.contains(candidate)) {
                continue;
            }
            // xdotool ignores case; the title must match exactly.
            const ToolRun name = Xdotool({QStringLiteral("getwindowname"), candidate});
            QString shown = QString::fromUtf8(name.out);
            if (shown.endsWith(QLatin1Char('\n'))) {
                shown.chop(1);
            }
            if (name.ok() && shown == title) {
                id = candidate;
                return;
            }
        }
        QTest::qWait(kPollMs);
    }
    QFAIL(qPrintable(QStringLiteral("no window titled \"%1\"").arg(title)));
}

void TestRealWindow::grab(const QString& window, QImage& shot, const QString& saveAs)
{
    // ImageMagick's policy forbids /dev/fd paths, so the picture comes through a pipe.
    const ToolRun import =
        RunTool(QStringLiteral("import"),
                {QStringLiteral("-silent"), QStringLiteral("-window"), window,
                 QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("png:-")});
    QVERIFY2(import.ok(), qPrintable(import.describe()));
    QImage image;
    QVERIFY2(image.loadFromData(import.out, "PNG"), "import gave no PNG");
    // A picture without colour comes back as grey scale.
    shot = image.convertToFormat(QImage::Format_RGB32);
    if (!saveAs.isEmpty()) {
        const QString file = shotDir_.filePath(QStringLiteral("real-window-%1-%2.png")
                                                   .arg(++shotCount_, 2, 10, QLatin1Char('0'))
                                                   .arg(saveAs));
        QVERIFY2(shot.save(file), qPrintable(file));
    }
}

// Polls the window until `done` holds or time runs out, leaving the last screenshot; the
// caller then checks it in detail, so a timeout fails with the reason.
void TestRealWindow::waitForShot(const std::function<bool(const QImage&)>& done, int timeoutMs,
                                 QImage& shot)
{
    QElapsedTimer waiting;
    waiting.start();
    for (;;) {
        CHECKED(grab(window_, shot));
        if (done(shot) || waiting.elapsed() > timeoutMs) {
            return;
        }
        QTest::qWait(kPollMs);
    }
}

void TestRealWindow::click(const QRect& button)
{
    const QPoint centre = button.center();
    const ToolRun run = Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window_,
                                 QString::number(centre.x()), QString::number(centre.y()),
                                 QStringLiteral("click"), QStringLiteral("1")});
    QVERIFY2(run.ok(), qPrintable(run.describe()));
}

void TestRealWindow::activate(const QString& window)
{
    const ToolRun run =
        Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    QVERIFY2(run.ok(), qPrintable(run.describe()));
    const ToolRun active = Xdotool({QStringLiteral("getactivewindow")});
    QVERIFY2(active.ok(), qPrintable(active.describe()));
    QCOMPARE(QString::fromLatin1(active.out).trimmed(), window);
}

void TestRealWindow::verifyRunning()
{
    QVERIFY2(program_.state() == QProcess::Running,
             qPrintable(QStringLiteral("the program is not running (exit status %1, code %2)")
                            .arg(program_.exitStatus())
                            .arg(program_.exitCode())));
}

QTEST_GUILESS_MAIN(TestRealWindow)
#include "tst_real_window.moc"
