// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <bit>

#include "design/controls.h"
#include "experiment/number_text.h"
#include "sound/device_control.h"
#include "stats/rules/geometric/geometric_needles.h"
#include "window/main_window.h"

using namespace buffon;

namespace {

class SilentDevice final : public DeviceControl {
public:
    void setCommand(DeviceCommand) override {}
    void setFileName(const QString&) override {}
};

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

// The count a window shows after a whole run of `button` reseeded from `reseed`.
qint64 countOfARunAlone(const char* button, const char* reseed, bool textbook)
{
    SilentDevice device;
    MainWindow window(&device);
    window.setModes(textbook ? modesOf({{"reseed", reseed}, {"textbook", ""}})
                             : modesOf({{"reseed", reseed}}));
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
        SilentDevice device;
        MainWindow window(&device);
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
        // The board is ruled at the new size, its lines one pixel of the screen thick.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        click(window, "Command6");
        QCoreApplication::processEvents();
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        const QPoint inside = window.findChild<QWidget*>("Picture1")->geometry().topLeft() +
                              QPoint(qRound(2 * scale) + 10, 0);
        int black = 0;
        for (int y = 0; y < qRound(415 * scale); ++y) {
            black += shown.pixel(inside.x(), inside.y() + y) == 0xff000000;
        }
        QCOMPARE(black, 5);
        QCOMPARE(shown.pixel(inside.x(), inside.y() + qRound((2 + 160) * scale)), 0xff000000);
    }

    void theModeLineSaysWhatIsShown()
    {
        SilentDevice device;
        MainWindow window(&device);
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
        window.setModes({});
        QVERIFY(!line->isVisible());
    }

    void textbookRunsCountAsTheCompanionAndSaySo_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("reseed");
        QTest::addColumn<int>("needles");
        QTest::newRow("10 needles") << "Command1"
                                    << "0.5" << 10;
        QTest::newRow("50,000 needles, no deduction") << "Command7"
                                                      << "86399.9921875" << 50000;
    }

    void textbookRunsCountAsTheCompanionAndSaySo()
    {
        QFETCH(QString, button);
        QFETCH(QString, reseed);
        QFETCH(int, needles);
        SilentDevice device;
        MainWindow window(&device);
        window.setModes(modesOf({{"textbook", ""}, {"reseed", reseed.toStdString()}}));
        click(window, qPrintable(button));
        const float value = *readReseedValue(reseed.toStdString());
        const qint64 hits =
            GeometricNeedles(std::bit_cast<std::uint32_t>(value), 40, 80).countHits(needles);
        QCOMPARE(text(window, "Label4"), QString::number(hits));
        QCOMPARE(text(window, "Label2"),
                 QString::fromStdString(numberText(double(needles) / double(hits))));
        QCOMPARE(text(window, "Label3"), "Number of needles crossing a line ＝");
        // Back to the window's own needles, the caption is the window's own again.
        window.setModes({});
        click(window, "Command1");
        QCOMPARE(text(window, "Label3"), "Number of needles intersecting parallel lines ＝");
    }

    void needlesAtAPaceShowGrowingCountsAndAStopKeepsThem()
    {
        SilentDevice device;
        MainWindow window(&device);
        window.setModes(modesOf({{"pace", "50"}, {"textbook", ""}}));
        window.show();
        click(window, "Command2");
        QList<qint64> seen;
        for (int i = 0; i < 8; ++i) {
            QTest::qWait(100);
            seen << text(window, "Label4").toLongLong();
        }
        QTest::keyClick(&window, Qt::Key_Escape);
        const QString stopped = text(window, "Label4") + " " + text(window, "Label2");
        QTest::qWait(200);
        QCOMPARE(text(window, "Label4") + " " + text(window, "Label2"), stopped);
        QVERIFY2(seen.first() < seen.last() && seen.last() < 100, qPrintable(stopped));
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        // Init, during a run, ends it and clears.
        click(window, "Command2");
        QTest::qWait(100);
        click(window, "Command6");
        QTest::qWait(100);
        QCOMPARE(text(window, "Label4") + text(window, "Label2"), QString());
    }

    void aSecondRunButtonStopsTheFirstAndThrowsItsOwn()
    {
        SilentDevice device;
        MainWindow window(&device);
        window.setModes(modesOf({{"pace", "1000"}, {"reseed", "7.25"}}));
        window.show();
        click(window, "Command7");
        QTest::qWait(60);
        window.setModes(modesOf({{"pace", "1000"}, {"reseed", "3.5"}}));
        click(window, "Command1");
        const qint64 alone = countOfARunAlone("Command1", "3.5", false);
        QTRY_COMPARE(text(window, "Label4").toLongLong(), alone);
        QTest::qWait(100);
        QCOMPARE(text(window, "Label4").toLongLong(), alone);  // the first run is over
    }

    void runsThatAddUpShowTheSum()
    {
        SilentDevice device;
        MainWindow window(&device);
        window.setModes(modesOf({{"add-up", ""}, {"reseed", "100.5"}}));
        click(window, "Command3");
        window.setModes(modesOf({{"add-up", ""}, {"reseed", "2000.75"}}));
        click(window, "Command4");
        const qint64 sum = countOfARunAlone("Command3", "100.5", false) +
                           countOfARunAlone("Command4", "2000.75", false);
        QCOMPARE(text(window, "Label4").toLongLong(), sum);
        QCOMPARE(text(window, "Label2"), QString::fromStdString(numberText(11000.0 / double(sum))));
        click(window, "Command6");
        click(window, "Command1");
        QVERIFY(text(window, "Label4").toLongLong() <= 10);  // Init started again from nothing
    }

    void theMenuOpensOnTheBoardAndChangesTheModes()
    {
        SilentDevice device;
        MainWindow window(&device);
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
        menu->hide();
        QCOMPARE(window.modes(), modesOf({{"textbook", ""}, {"pace", "500"}}));
        QTest::keyClick(window.findChild<QPushButton*>("Command1"), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(menu->findChild<QAction*>("textbook")->isChecked());
        QVERIFY(menu->findChild<QAction*>("pace500")->isChecked());
        QVERIFY(!menu->findChild<QAction*>("pace0")->isChecked());
        menu->findChild<QAction*>("scale2")->trigger();
        QCOMPARE(window.size(), QSize(2 * kClientWidth, 2 * kClientHeight));
        QCOMPARE(text(window, "ModeLine"), "Textbook needles · 500 a second · 2×");
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
