// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "experiment/number_text.h"
#include "sound/device_control.h"
#include "window/activation_watcher.h"
#include "window/main_window.h"

using namespace buffon;

namespace {

// Records every property put as a word ("Stop", ..., or the file name); `onCommand` may act on
// a command, or refuse it by throwing.
class RecordingDevice final : public DeviceControl {
public:
    void setCommand(DeviceCommand command) override
    {
        static const char* const kWords[] = {"Stop", "Close", "Open", "Sound"};
        puts << QString::fromLatin1(kWords[int(command)]);
        if (onCommand) {
            onCommand(puts.last());
        }
    }
    void setFileName(const QString& fileName) override { puts << fileName; }

    QStringList puts;
    std::function<void(const QString&)> onCommand;
};

template <typename T = QWidget>
T* control(const QWidget& window, const QString& name)
{
    return window.findChild<T*>(name);
}

QString text(const QWidget& window, const char* label)
{
    return control<QLabel>(window, label)->text();
}

void click(const QWidget& window, const QString& button)
{
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

// What the screen shows of the board's inside once pending paints are done: the window's
// backing store, not a fresh rendering of the widget.
QImage shownBoard(const QWidget& window)
{
    QCoreApplication::processEvents();
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage();
    return screen.copy(26, 74, 523, 411).convertToFormat(QImage::Format_RGB32);
}

// Whether the board is white with the five lines in the given colour and nothing else.
bool freshlyRuled(const QImage& board, QRgb line)
{
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            if (board.pixel(x, y) != (x < 480 && y > 0 && y % 80 == 0 ? line : 0xffffffff)) {
                return false;
            }
        }
    }
    return true;
}

bool blank(const QWidget& window)
{
    return freshlyRuled(shownBoard(window), 0xff000000) && text(window, "Label2").isEmpty() &&
           text(window, "Label4").isEmpty();
}

void showAndActivate(QWidget& window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Calls `answer` with the next modal box as soon as it shows.
void answerNextBox(std::function<void(QMessageBox*)> answer)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            delete timer;
            answer(box);
        }
    });
    timer->start(10);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void soundIsReadiedOnceShownWithOneLineForNoOutput()
    {
        // The test has no sound server. The search for one, and its one line, come once the
        // window shows, so that the first run costs no more than later ones.
        static QStringList warnings;
        warnings.clear();
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            warnings << QString::number(type) + ' ' + text;
        });
        {
            MainWindow window;
            // Tools reach the sound device by its name, as they reach every control.
            QVERIFY(window.findChild<QObject*>(QStringLiteral("MMControl1")));
            QCoreApplication::processEvents();
            const QStringList beforeShowing = warnings;
            showAndActivate(window);
            QTest::qWait(50);
            const QStringList shown = warnings;
            click(window, "Command1");
            qInstallMessageHandler(nullptr);
            QCOMPARE(beforeShowing, QStringList());
            QCOMPARE(shown, QStringList{QString::number(QtWarningMsg) +
                                        " buffon-needle: no audio output device; sound cues "
                                        "stay silent"});
            QCOMPARE(warnings, shown);
        }
    }

    void stackingTabOrderFacesAndTheFormula()
    {
        MainWindow window;
        const QObjectList stack = window.children();  // back to front
        const auto depth = [&](const char* name) {
            return stack.indexOf(control(window, name));
        };
        const char* labels[] = {"Label7", "Label6", "Label5", "Label4",
                                "Label3", "Label2", "Label1"};
        for (int i = 1; i < 7; ++i) {
            QVERIFY2(depth(labels[i - 1]) > depth(labels[i]), labels[i]);
        }
        for (const char* above : {"Picture1", "Picture2", "Command1", "Command5", "Command7"}) {
            QVERIFY(depth(above) > depth("Label7"));
        }
        QStringList buttons;
        QWidget* widget = control(window, "Picture1");
        for (int step = 0; step < 40 && buttons.size() < 7; ++step) {
            widget = widget->nextInFocusChain();
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                QVERIFY(!button->isDefault());
                buttons << button->text();
            }
        }
        QCOMPARE(buttons, (QStringList{"10", "100", "1,000", "10,000", "Exit", "Init", "50,000"}));
        // The face that stands in has the full-width characters; only the credit is regular.
        for (QWidget* item : window.findChildren<QWidget*>(QRegularExpression("^(Label|Comm)"))) {
            const QRawFont face = QRawFont::fromFont(item->font());
            for (const char32_t character : {U'＝', U'（', U'）', U'÷'}) {
                QVERIFY2(face.supportsCharacter(character), qPrintable(face.familyName()));
            }
            QCOMPARE(item->font().bold(), item->objectName() != "Label6");
        }
        QLabel* credit = control<QLabel>(window, "Label6");
        QVERIFY(QFontMetrics(credit->font()).horizontalAdvance(credit->text()) <= credit->width());
        QLabel* formula = control<QLabel>(window, "Label7");
        QTextLayout layout(formula->text(), formula->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QStringList lines;
        qreal top = 0;
        qreal inkBottom = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(formula->width());
            lines << formula->text().mid(line.textStart(), line.textLength());
            inkBottom = top + line.ascent() + line.descent();
            top += line.height();
        }
        layout.endLayout();
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].trimmed().endsWith("）"), qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith("÷"), qPrintable(lines[1]));
        QVERIFY(qRound(inkBottom) <= formula->height());
        // And so it shows: ink on the label's second line too.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        int inkBelow = 0;
        for (int y = 17; y < formula->height(); ++y) {
            for (int x = 0; x < formula->width(); ++x) {
                inkBelow += qGray(shown.pixel(formula->x() + x, formula->y() + y)) < 100;
            }
        }
        QCOMPARE_GT(inkBelow, 50);
        // And the emblem over its face.
        const QRect emblem = control(window, "Picture2")->geometry();
        int emblemInk = 0;
        for (int y = emblem.top(); y <= emblem.bottom(); ++y) {
            for (int x = emblem.left(); x <= emblem.right(); ++x) {
                emblemInk += shown.pixel(x, y) != 0xfff0f0f0;
            }
        }
        QCOMPARE_GT(emblemInk, emblem.width() * emblem.height() / 4);
    }

    void rulesOnlyWhenTakingTheFocusBackFromItsOwnProgram_data()
    {
        // What happens to the watched window W, step by step: S it is first shown; the
        // program's focus window becomes W, O another window of the program (a dialog, say), or -
        // none of the program's (another program has the focus, or X11 is between two of the
        // program's windows).
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("activations");
        QTest::newRow("first showing, the focus withheld") << "S" << 1;
        QTest::newRow("first showing, then the focus") << "SW" << 1;
        QTest::newRow("first focus after another own window") << "SOW" << 2;
        QTest::newRow("back from a dialog closing on X11") << "SWO-W" << 2;
        QTest::newRow("back from another program") << "SW-W" << 1;
        QTest::newRow("another program after coming back from an own window") << "SWOW-W" << 2;
    }

    void rulesOnlyWhenTakingTheFocusBackFromItsOwnProgram()
    {
        QFETCH(QString, steps);
        QFETCH(int, activations);
        QWidget watched;
        watched.winId();  // gives it its native window, as showing would
        QWindow other;
        ActivationWatcher watcher;
        watcher.watch(&watched);
        QSignalSpy activated(&watcher, &ActivationWatcher::activated);
        for (const QChar step : steps) {
            if (step == 'S') {
                QShowEvent shown;
                QCoreApplication::sendEvent(&watched, &shown);
                continue;
            }
            watcher.focusWindowChanged(step == 'W'   ? watched.windowHandle()
                                       : step == 'O' ? &other
                                                     : nullptr);
        }
        QCOMPARE(activated.count(), activations);
    }

    void runButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("needles");
        QTest::addColumn<QString>("locale");
        QTest::newRow("10") << "Command1" << 10 << "en_US";
        QTest::newRow("100") << "Command2" << 100 << "en_US";
        QTest::newRow("1,000") << "Command3" << 1000 << "en_US";
        QTest::newRow("1,000 with a decimal comma") << "Command3" << 1000 << "de_DE";
        QTest::newRow("10,000") << "Command4" << 10000 << "en_US";
        QTest::newRow("50,000") << "Command7" << 50000 << "en_US";
    }

    void runButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, needles);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        MainWindow window;
        showAndActivate(window);
        click(window, button);
        QLocale::setDefault(QLocale::c());
        bool isNumber = false;
        const int count = text(window, "Label4").toInt(&isNumber);
        QVERIFY(isNumber);
        const std::string separator = QLocale(locale).decimalPoint().toStdString();
        QCOMPARE(text(window, "Label2"),
                 count ? QString::fromStdString(numberText(double(needles) / count, separator))
                       : QString());
    }

    void resultsStayReadableUnderADarkDesktop()
    {
        const QPalette desktop = QApplication::palette();
        QPalette dark(Qt::white, QColor(40, 40, 40), QColor(60, 60, 60), QColor(20, 20, 20),
                      QColor(30, 30, 30), Qt::white, QColor(30, 30, 30));
        QApplication::setPalette(dark);
        RecordingDevice device;
        MainWindow window(&device);
        showAndActivate(window);
        click(window, "Command7");
        QCoreApplication::processEvents();
        const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
        // The failure box and the exit box are windows of their own, with the window's face.
        QList<int> boxGrounds;
        device.onCommand = [](const QString& command) {
            if (command == "Open") {
                throw DeviceError("The sound device is busy.");
            }
        };
        for (const char* button : {"Command1", "Command5"}) {
            answerNextBox([&](QMessageBox* box) {
                boxGrounds << qGray(box->grab().toImage().pixel(2, 2));
                box->accept();
            });
            click(window, button);
            device.onCommand = nullptr;
        }
        QApplication::setPalette(desktop);
        QCOMPARE(boxGrounds, (QList<int>{240, 240}));
        // Dark text on a light ground, on the labels, the results and the buttons.
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label7", "Command7"}) {
            const QRect area = control(window, name)->geometry();
            int darkest = 255;
            int lightest = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    darkest = std::min(darkest, qGray(screen.pixel(x, y)));
                    lightest = std::max(lightest, qGray(screen.pixel(x, y)));
                }
            }
            QVERIFY2(darkest < 60 && lightest >= 240, name);
        }
    }

    void longRunsShowOnScreenWhileTheyRun()
    {
        // The board is painted during a run, between its cue and its count, at most once a
        // frame: a run that starts a frame after the last paint shows on screen as it goes.
        RecordingDevice device;
        MainWindow window(&device);
        showAndActivate(window);
        QTest::qWait(40);
        struct PaintCounter : QObject {
            bool running = false;
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                paints += running && event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        device.onCommand = [&](const QString& command) {
            counter.running = command == "Sound";
        };
        control(window, "Picture1")->installEventFilter(&counter);
        click(window, "Command4");
        counter.running = false;
        QCOMPARE_GE(counter.paints, 1);
    }

    void thePictureFollowsTheWindowToAScreenOfAnotherRatio()
    {
        MainWindow window;
        showAndActivate(window);
        click(window, "Command3");
        QWidget* board = control(window, "Picture1");
        const QImage single = board->grab().toImage();
        QScreen* doubled = QGuiApplication::screens().last();
        window.windowHandle()->setScreen(doubled);
        window.move(doubled->geometry().topLeft());
        QTRY_COMPARE(board->devicePixelRatioF(), 2.0);
        // Drawn again in the screen's own pixels: every one of them inked lies over a pixel
        // inked at 1x or next to one, and about twice as many are, not four times.
        const QImage fine = board->grab().toImage();
        const auto inked = [](const QImage& image, int x, int y) {
            return image.pixel(x, y) != 0xffffffff;
        };
        int singleInk = 0;
        int fineInk = 0;
        for (int y = 4; y < fine.height() - 4; ++y) {
            for (int x = 4; x < fine.width() - 4; ++x) {
                singleInk += x % 2 == 0 && y % 2 == 0 && inked(single, x / 2, y / 2);
                if (!inked(fine, x, y)) {
                    continue;
                }
                ++fineInk;
                bool near = false;
                for (int at = 0; at < 9; ++at) {
                    near = near || inked(single, x / 2 + at % 3 - 1, y / 2 + at / 3 - 1);
                }
                QVERIFY2(near, qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            }
        }
        QVERIFY(fineInk > singleInk * 3 / 2 && fineInk < singleInk * 5 / 2);
        // Cleared there and drawn again back on the first screen: no needle and no red line.
        click(window, "Command6");
        window.windowHandle()->setScreen(QGuiApplication::screens().first());
        window.move(QGuiApplication::screens().first()->geometry().topLeft());
        QTRY_COMPARE(board->devicePixelRatioF(), 1.0);
        const QImage cleared = board->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < cleared.height(); ++y) {
            for (int x = 0; x < cleared.width(); ++x) {
                const QRgb pixel = cleared.pixel(x, y);
                coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel);
            }
        }
        QCOMPARE(coloured, 0);
    }

    void keyboardClicksOnlyAFocusedButton()
    {
        MainWindow window;
        showAndActivate(window);
        const auto press = [&](QWidget* target, Qt::Key key) {
            target->setFocus();
            QTest::keyClick(target, key);
            return !text(window, "Label4").isEmpty();
        };
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
            QVERIFY(!press(control(window, "Picture1"), key));
        }
        QVERIFY(press(control(window, "Command1"), Qt::Key_Return));
        QVERIFY(!press(control(window, "Command6"), Qt::Key_Enter));
        QVERIFY(press(control(window, "Command1"), Qt::Key_Space));
    }

    void clicksDuringARunAreHandledAfterIt()
    {
        RecordingDevice device;
        MainWindow window(&device);
        showAndActivate(window);
        device.onCommand = [&](const QString& command) {
            // A click on Init arrives while the run is going on.
            if (command == "Sound") {
                QMetaObject::invokeMethod(control(window, "Command6"), "click",
                                          Qt::QueuedConnection);
            }
        };
        click(window, "Command7");
        device.onCommand = nullptr;
        QVERIFY(!text(window, "Label4").isEmpty());  // the run ended undisturbed
        QTRY_VERIFY(blank(window));
    }

    void failingCueIsReportedOnceAndStopsTheHandler()
    {
        RecordingDevice device;
        device.onCommand = [](const QString& command) {
            if (command == "Open") {
                throw DeviceError("The sound device is busy.");
            }
        };
        MainWindow window(&device);
        showAndActivate(window);
        for (const char* button : {"Command1", "Command5"}) {
            device.puts.clear();
            QStringList reported;
            answerNextBox([&](QMessageBox* box) {
                reported << box->text();
                box->accept();
            });
            click(window, button);
            QCOMPARE(reported, QStringList{"The sound device is busy."});
            QCOMPARE(device.puts.size(), 4);  // stopped at Open: no Sound, no run, no exit box
            QVERIFY(window.isVisible());
            QVERIFY(blank(window));
        }
    }

    void exitAsksAndCloses_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("OK button") << 0;
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void exitAsksAndCloses()
    {
        QFETCH(int, answer);
        RecordingDevice device;
        MainWindow window(&device);
        showAndActivate(window);
        click(window, "Command1");
        device.puts.clear();
        QStringList seen;
        answerNextBox([&](QMessageBox* box) {
            seen = device.puts;
            seen << box->windowTitle() << box->text() << QString::number(box->buttons().size())
                 << QString::number(box->icon())
                 << QString::number(box->button(QMessageBox::Ok)->icon().isNull());
            if (answer == 0) {
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            } else {
                QTest::keyClick(box, Qt::Key(answer));
            }
        });
        click(window, "Command5");
        // The device was stopped and closed on the run's cue before the exit cue was opened.
        QCOMPARE(seen, (QStringList{"Stop", "Close", "endpinpon.wav", "Open", "Sound",
                                    "Scatter needles to find pi !", "This software will exit.", "1",
                                    QString::number(QMessageBox::NoIcon), "1"}));
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
