// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "design/controls.h"
#include "sound/device_control.h"
#include "window/main_window.h"
#include "window/run_announcer.h"

using namespace buffon;

namespace {

class SilentDevice final : public DeviceControl {
public:
    void setCommand(DeviceCommand) override {}
    void setFileName(const QString&) override {}
} silent;

QString text(const QWidget& window, const char* label)
{
    return window.findChild<QLabel*>(label)->text();
}

void click(const QWidget& window, const char* button)
{
    QTest::mouseClick(window.findChild<QPushButton*>(button), Qt::LeftButton);
}

LessonModes modesOf(std::initializer_list<ModeChoice> choices)
{
    const ParsedModes parsed = parseModes(std::vector<ModeChoice>(choices), ModeNames::Option);
    Q_ASSERT(parsed.error.empty());
    return parsed.modes;
}

QString announced(const QWidget& window)
{
    return window.findChild<RunAnnouncer*>()->accessibleName();
}

// The count a window shows after a whole run of `button` reseeded from `reseed`.
qint64 countOfARunAlone(const char* button, const char* reseed)
{
    MainWindow window(&silent);
    window.setModes(modesOf({{"reseed", reseed}}));
    click(window, button);
    return text(window, "Label4").toLongLong();
}

}  // namespace

class LessonWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void everyControlGrowsWithTheSize_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("projector's 1.5") << 1.5;
        QTest::newRow("twice") << 2.0;
        QTest::newRow("three times") << 3.0;
    }

    void everyControlGrowsWithTheSize()
    {
        QFETCH(double, scale);
        MainWindow window(&silent);
        window.setModes(withScale(scale));
        QCOMPARE(window.size(), QSize(qRound(kClientWidth * scale), qRound(kClientHeight * scale)));
        for (const ControlDesign& entry : controlDesigns()) {
            auto* control = window.findChild<QWidget*>(QString::fromLatin1(entry.objectName));
            if (entry.role == ControlRole::Device) {
                continue;
            }
            const Place& p = entry.place;
            QCOMPARE(control->geometry(), QRect(qRound(p.left * scale), qRound(p.top * scale),
                                                qRound(p.width * scale), qRound(p.height * scale)));
            if (entry.fontPixelSize > 0) {
                QCOMPARE(control->font().pixelSize(), qRound(entry.fontPixelSize * scale));
            }
        }
        // The emblem fills its grown place, its lower right quarter too.
        const QImage emblem = window.findChild<QWidget*>("Picture2")->grab().toImage();
        int ink = 0;
        for (int y = emblem.height() / 2; y < emblem.height(); ++y) {
            for (int x = emblem.width() / 2; x < emblem.width(); ++x) {
                ink += emblem.pixel(x, y) != 0xfff0f0f0;
            }
        }
        QCOMPARE_GT(ink, emblem.width() * emblem.height() / 32);
    }

    void theModeLineSaysWhatIsShown()
    {
        MainWindow window(&silent);
        window.show();
        QVERIFY(!window.findChild<QLabel*>("ModeLine"));  // nothing more than the window's own
        window.setModes(modesOf({{"textbook", ""}, {"show-reseed", ""}, {"reseed", "45296.25"}}));
        auto* line = window.findChild<QLabel*>("ModeLine");
        QVERIFY(line->isVisible());
        QCOMPARE(line->geometry(), QRect(8, 619, 480, 16));
        QCOMPARE(line->text(), "Textbook needles · next run reseeds from 45296.25");
        click(window, "Command1");
        QCOMPARE(line->text(), "Textbook needles · reseeded from 45296.25");
        // The next run reseeds from the clock again, and says so.
        click(window, "Command1");
        QVERIFY(line->text() != "Textbook needles · reseeded from 45296.25");
        QVERIFY(readReseedValue(line->text().section(' ', -1).toStdString()));
        QCOMPARE(text(window, "Label3"), "Number of needles crossing a line ＝");
        QVERIFY(announced(window).startsWith("Needles crossing a line: "));
        click(window, "Command6");  // no run shown, none named
        QCOMPARE(line->text(), "Textbook needles · reseed values shown");
        QCOMPARE(announced(window), QString());
        window.setModes({});
        QVERIFY(!line->isVisible());
        click(window, "Command1");  // the window's own needles, and its own caption
        QCOMPARE(text(window, "Label3"), "Number of needles intersecting parallel lines ＝");
    }

    void initEndsARunAtAPaceAndStartsTheTotalsAgain()
    {
        MainWindow window(&silent);
        window.setModes(modesOf({{"pace", "50"}, {"add-up", ""}}));
        window.show();
        click(window, "Command2");
        QTest::qWait(300);
        QVERIFY(!text(window, "Label4").isEmpty());
        QCOMPARE(announced(window), QString());  // said once the run ends, not as it falls
        click(window, "Command6");
        QTest::qWait(300);
        QCOMPARE(text(window, "Label4") + text(window, "Label2"), QString());
        window.setModes(modesOf({{"add-up", ""}, {"reseed", "3.5"}}));
        click(window, "Command1");
        QCOMPARE(text(window, "Label4").toLongLong(), countOfARunAlone("Command1", "3.5"));
    }

    void aSecondRunButtonStopsTheFirstAndThrowsItsOwn()
    {
        MainWindow window(&silent);
        window.setModes(modesOf({{"pace", "1000"}, {"reseed", "7.25"}}));
        window.show();
        click(window, "Command7");
        QTest::qWait(60);
        window.setModes(modesOf({{"pace", "1000"}, {"reseed", "3.5"}}));
        click(window, "Command1");
        const qint64 alone = countOfARunAlone("Command1", "3.5");
        QTRY_COMPARE(text(window, "Label4").toLongLong(), alone);
        QTest::qWait(100);
        QCOMPARE(text(window, "Label4").toLongLong(), alone);  // the first run is over
        QVERIFY(announced(window).contains(QString::number(alone)));
        window.findChild<RunAnnouncer*>()->setAccessibleName({});
        QTest::keyClick(&window, Qt::Key_Escape);  // no run to stop, nothing to say again
        QCOMPARE(announced(window), QString());
    }

    void modesChosenDuringAFallingRun()
    {
        MainWindow window(&silent);
        window.setModes(modesOf({{"pace", "50"}, {"reseed", "3.5"}}));
        window.show();
        click(window, "Command3");
        QTest::qWait(200);
        window.setModes(modesOf({}));  // all at once: the rest falls now
        QCOMPARE(text(window, "Label4").toLongLong(), countOfARunAlone("Command3", "3.5"));
        window.setModes(modesOf({{"pace", "50"}}));
        click(window, "Command3");
        QTest::qWait(200);
        window.setModes(modesOf({{"pace", "50"}, {"textbook", ""}}));  // other needles: it ends
        const QString stopped = text(window, "Label4");
        QTest::qWait(200);
        QCOMPARE(text(window, "Label4"), stopped);
        const double fallen = text(window, "Label2").toDouble() * stopped.toDouble();
        QVERIFY(fallen >= 1 && fallen < 999);
        QVERIFY(!announced(window).contains("Reseeded"));  // not shown, not said
        QVERIFY(
            !window.findChild<QPushButton*>("Command3")->accessibleDescription().contains("less"));
    }

    void theMenuOpensOnTheBoardAndChangesTheModes()
    {
        MainWindow window(&silent);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* menu = window.findChild<QMenu*>("ModeMenu");
        QWidget* board = window.findChild<QWidget*>("Picture1");
        QContextMenuEvent byMouse(QContextMenuEvent::Mouse, QPoint(100, 100),
                                  board->mapToGlobal(QPoint(100, 100)));
        QApplication::sendEvent(board, &byMouse);
        QTRY_VERIFY(menu->isVisible());
        menu->findChild<QAction*>("textbook")->trigger();
        menu->findChild<QAction*>("pace500")->trigger();
        menu->findChild<QAction*>("add-up")->trigger();
        menu->findChild<QAction*>("show-reseed")->trigger();
        menu->hide();
        QCOMPARE(window.modes(),
                 modesOf({{"textbook", ""}, {"pace", "500"}, {"add-up", ""}, {"show-reseed", ""}}));
        QTest::keyClick(window.findChild<QPushButton*>("Command1"), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(menu->findChild<QAction*>("textbook")->isChecked());
        QVERIFY(menu->findChild<QAction*>("pace500")->isChecked());
        QVERIFY(!menu->findChild<QAction*>("pace0")->isChecked());
        QVERIFY(menu->findChild<QAction*>("add-up")->isChecked());
        QVERIFY(menu->findChild<QAction*>("show-reseed")->isChecked());
        menu->findChild<QAction*>("scale2")->trigger();
        QCOMPARE(window.size(), QSize(2 * kClientWidth, 2 * kClientHeight));
        QCOMPARE(text(window, "ModeLine"),
                 "Textbook needles · 500 a second · runs add up · reseed values shown · 2×");
    }

private:
    static LessonModes withScale(double scale)
    {
        LessonModes modes;
        modes.scale = scale;
        return modes;
    }
};

QTEST_MAIN(LessonWindowTest)
#include "tst_lesson_window.moc"
