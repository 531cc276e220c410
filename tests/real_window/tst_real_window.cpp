// End-to-end test of the real program in a real X session: it is launched as a user would,
// driven with xdotool and judged by screenshots taken with ImageMagick's import. It needs
// DISPLAY with a window manager running, and the program in BUFFON_NEEDLE_BINARY;
// run_real_window_test.sh provides all of that on a private Xvfb display.
//
// The slots run in order and share one program instance: each step starts from where the
// previous one left the window.

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <optional>

namespace {

const QString kCaption = QStringLiteral("Scatter needles to find an approximate value of pi !");
const QString kExitBoxTitle = QStringLiteral("Scatter needles to find pi !");

// The white inside of the board's sunken edge, in client coordinates.
const QRect kBoard(26, 74, 523, 411);
// Lines are ruled, and needles fall, only left of this board column.
constexpr int kRuledWidth = 480;

const QRect kRunThousand(184, 496, 79, 41);
const QRect kInit(464, 496, 86, 41);
const QRect kExit(64, 584, 73, 33);
const QRect kHitCount(376, 552, 105, 17);
const QRect kEstimate(280, 576, 209, 25);

constexpr QRgb kWhite = 0xffffffff, kBlack = 0xff000000, kFace = 0xfff0f0f0;
constexpr QRgb kRed = 0xffff0000, kGreen = 0xff00ff00, kBlue = 0xff0000ff;

constexpr int kTimeoutMs = 10000, kPollMs = 100;

// Runs a tool to completion; its stdout if it succeeded. Its stderr goes to the test's log.
std::optional<QByteArray> Run(const QStringList& command)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(command.first(), command.mid(1));
    if (!tool.waitForFinished(kTimeoutMs) || tool.exitStatus() != QProcess::NormalExit) {
        qWarning("%s: %s", qPrintable(command.join(' ')), qPrintable(tool.errorString()));
        return std::nullopt;
    }
    return tool.exitCode() == 0 ? std::optional(tool.readAllStandardOutput()) : std::nullopt;
}

// The visible window titled `title`, other than `except`; empty if none shows in time. Polled,
// as `search --sync` would return at once with only the first instance when the second is due.
QString FindWindow(const QString& title, const QString& except = {})
{
    for (const QDeadlineTimer deadline(kTimeoutMs); !deadline.hasExpired(); QTest::qWait(kPollMs)) {
        // The titles hold no regular expression metacharacters. xdotool ignores case, so the
        // name is compared again, exactly.
        const QByteArray found =
            Run({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"}).value_or("");
        for (const QString& id : QString::fromLatin1(found).split('\n', Qt::SkipEmptyParts)) {
            if (id != except &&
                Run({"xdotool", "getwindowname", id}).value_or("") == (title + '\n').toUtf8()) {
                return id;
            }
        }
    }
    return {};
}

bool Activate(const QString& window)
{
    const auto active = Run({"xdotool", "windowactivate", "--sync", window, "getactivewindow"});
    return active.value_or("").trimmed() == window.toLatin1();
}

QImage Grab(const QString& window)
{
    // ImageMagick's policy forbids /dev/fd paths, so the picture comes through a pipe. One
    // without colour comes back as grey scale.
    const QByteArray png =
        Run({"import", "-silent", "-window", window, "-depth", "8", "png:-"}).value_or("");
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

// Screenshots of the steps, in the working directory, for whoever looks into a failure.
void Save(const QImage& shot, const QString& name)
{
    if (!shot.save("real-window-" + name + ".png")) {
        qWarning("cannot save the screenshot %s", qPrintable(name));
    }
}

// Screenshots the window until `done` holds or time runs out, and keeps the last shot; the
// caller checks it again, so a timeout fails with the reason.
QImage Poll(const QString& window, const QString& name, int timeoutMs,
            const std::function<bool(const QImage&)>& done)
{
    const QDeadlineTimer deadline(timeoutMs);
    QImage shot = Grab(window);
    while (!done(shot) && !deadline.hasExpired()) {
        QTest::qWait(kPollMs);
        shot = Grab(window);
    }
    Save(shot, name);
    return shot;
}

using PixelTest = std::function<bool(int x, int y, QRgb c)>;

// Pixels of `area` passing `test`, which gets coordinates within the area.
int Count(const QImage& shot, const QRect& area, const PixelTest& test)
{
    int count = 0;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            count += test(x, y, shot.pixel(area.left() + x, area.top() + y));
        }
    }
    return count;
}

struct Is {
    QRgb colour;
    bool operator()(int, int, QRgb c) const { return c == colour; }
};

// Why the window is not as it should be when fresh (at start and after Init) or after a run; empty
// if it is. Red is only ever a line, and the lines are redrawn, so no black or white stays on
// them. A thousand needles leave both hits and misses, and most of every line uncovered.
QString Fault(const QImage& shot, bool afterRun)
{
    if (shot.size() != QSize(570, 636)) {
        return QStringLiteral("no screenshot of the whole window");
    }
    const int wrong = Count(shot, kBoard, [afterRun](int x, int y, QRgb c) {
        const bool line = x < kRuledWidth && y > 0 && y % 80 == 0;
        const bool needle = afterRun && x < kRuledWidth && (c == kBlue || c == kGreen);
        return !needle && c != (line ? (afterRun ? kRed : kBlack) : kWhite);
    });
    if (wrong > 0) {
        return QStringLiteral("%1 board pixels are wrong").arg(wrong);
    }
    // Text is dark; an empty label shows nothing but the window's face.
    const PixelTest ink = [afterRun](int, int, QRgb c) {
        return afterRun ? qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128 : c != kFace;
    };
    for (const QRect& label : {kHitCount, kEstimate}) {
        if ((Count(shot, label, ink) > 0) != afterRun) {
            return QStringLiteral("the label at %1,%2 is wrong").arg(label.x()).arg(label.y());
        }
    }
    if (afterRun && (Count(shot, kBoard, Is{kBlue}) == 0 || Count(shot, kBoard, Is{kGreen}) == 0)) {
        return QStringLiteral("no hit or no miss drawn");
    }
    for (int y = 80; afterRun && y <= 400; y += 80) {
        const int red = Count(shot, {kBoard.x(), kBoard.y() + y, kRuledWidth, 1}, Is{kRed});
        if (2 * red <= kRuledWidth) {
            return QStringLiteral("board row %1 is not a red line").arg(y);
        }
    }
    return {};
}

}  // namespace

class TestRealWindow : public QObject {
    Q_OBJECT

    QTemporaryDir workDir_;
    QProcess program_;
    QString window_;
    QImage shot_;

    // Starts an instance of the program, as a user would; the id of its window, or empty.
    QString launch(QProcess& program, const QString& except = {})
    {
        program.setWorkingDirectory(workDir_.path());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(qEnvironmentVariable("BUFFON_NEEDLE_BINARY"));
        return program.waitForStarted(kTimeoutMs) ? FindWindow(kCaption, except) : QString();
    }

    auto click(const QRect& button)
    {
        const QPoint centre = button.center();
        return Run({"xdotool", "mousemove", "--window", window_, QString::number(centre.x()),
                    QString::number(centre.y()), "click", "1"});
    }

    // Waits for the window to settle showing the state `Fault` expects, and keeps the last
    // screenshot; why it does not show that state, or nothing.
    QString settle(const QString& name, bool afterRun)
    {
        QImage previous;
        shot_ = Poll(window_, name, 15000, [&previous, afterRun](const QImage& s) {
            const bool settled = s == previous && Fault(s, afterRun).isEmpty();
            previous = s;
            return settled;
        });
        return Fault(shot_, afterRun);
    }

private slots:
    // The program starts with black lines and empty labels. Every later step needs that.
    void initTestCase()
    {
        window_ = launch(program_);
        QVERIFY2(!window_.isEmpty(), qPrintable("no window: " + program_.errorString()));
        // The lines are ruled once the window is first activated, a moment after it shows.
        QCOMPARE(settle("01-start", false), QString());
    }

    void runOfAThousandRulesRedAndDrawsNeedles()
    {
        QVERIFY(click(kRunThousand));
        // The run is over when the window shows its outcome and stops changing.
        QCOMPARE(settle("02-after-1000", true), QString());
    }

    void comingBackFromAnotherProgramKeepsTheBoard()
    {
        // Any other X client would do; a second instance is at hand and is a separate process.
        QProcess other;
        const QString otherWindow = launch(other, window_);
        QVERIFY2(!otherWindow.isEmpty(), qPrintable("no window: " + other.errorString()));
        QVERIFY(Activate(otherWindow) && Activate(window_));

        // Re-ruling would happen as the window takes the activation back; give the program time
        // to do it, checking all along. Board and labels must stay exactly as after the run.
        const auto changed = [afterRun = shot_](const QImage& s) {
            return s.copy(kBoard) != afterRun.copy(kBoard) ||
                   s.copy(kHitCount) != afterRun.copy(kHitCount) ||
                   s.copy(kEstimate) != afterRun.copy(kEstimate);
        };
        const QImage shot = Poll(window_, "03-back-from-other-program", 1000, changed);
        other.kill();
        other.waitForFinished();
        QVERIFY2(!changed(shot), "the board or the labels changed");
    }

    void initClearsBoardAndLabels()
    {
        QVERIFY(click(kInit));
        QCOMPARE(settle("04-after-init", false), QString());
    }

    void exitAsksThenEndsTheProgram()
    {
        QVERIFY(click(kExit));
        const QString box = FindWindow(kExitBoxTitle, window_);
        QVERIFY2(!box.isEmpty(), "no box titled \"Scatter needles to find pi !\"");
        Save(Grab(box), "05-exit-box");
        // The program must wait for the answer: the box, and so the program, is still there.
        QTest::qWait(300);
        // Keys go through XTEST to the focused window; aiming them at the box with --window
        // would send the release to a window that is already gone.
        QVERIFY2(Activate(box), "the box went away unanswered");
        QVERIFY(Run({"xdotool", "key", "Return"}));
        QVERIFY2(program_.waitForFinished(10000), "the program did not end after the answer");
        QCOMPARE(program_.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program_.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRealWindow)
#include "tst_real_window.moc"
