// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QTest>
#include <bit>
#include <cmath>
#include <random>
#include <set>

#include "experiment/lesson_modes.h"
#include "experiment/pixel_board.h"
#include "experiment/stepped_run.h"
#include "stats/rules/geometric/board_needles.h"
#include "stats/rules/needle_sources.h"

using namespace buffon;

namespace {

// A run's world: a pixel board, a silent cue, a fixed clock and two labels.
struct World final : CuePlayer, Clock {
    void play(const std::string&) override {}
    float secondsSinceMidnight() override { return 45296.25f; }
    struct Label final : Caption {
        void setText(const std::string& value) override { text = value; }
        std::string text;
    };
    PixelBoard board;
    UniformRandomSource random;
    Label estimate;
    Label count;
    RunContext context{*this, board, random, *this, estimate, count, "."};
};

// The choices "name=value;name" as a list.
std::vector<ModeChoice> choicesOf(const QString& text)
{
    std::vector<ModeChoice> choices;
    for (const QString& choice : text.split(u';', Qt::SkipEmptyParts)) {
        choices.push_back(
            {choice.section(u'=', 0, 0).toStdString(), choice.section(u'=', 1).toStdString()});
    }
    return choices;
}

// A needle that records where the source put it, drawn nowhere.
struct Recorded final : NeedleSource {
    explicit Recorded(NeedleSource& inner) : inner(inner) {}
    void reseed(float value) override { inner.reseed(value); }
    BoardNeedle next() override { return needles.emplace_back(inner.next()); }
    int deduction(const RunSize& size) const override { return inner.deduction(size); }
    NeedleSource& inner;
    std::vector<BoardNeedle> needles;
};

}  // namespace

class LessonModesTest : public QObject {
    Q_OBJECT

private slots:
    void choicesGiveModesOrOneLine_data()
    {
        QTest::addColumn<QString>("choices");
        QTest::addColumn<bool>("page");
        QTest::addColumn<QString>("outcome");  // the mode line, or the error
        const auto row = [](const char* name, const char* choices, bool page, const char* out) {
            QTest::newRow(name) << QString::fromUtf8(choices) << page << QString::fromUtf8(out);
        };
        row("none is the window as it was", "", false, "");
        row("every mode", "textbook;pace=50;add-up;reseed=45296.25;thick-needles;scale=2", false,
            "Textbook needles · 50 a second · runs add up · next run reseeds from 45296.25 · "
            "thick needles · 2×");
        row("page parameters", "textbook=1;pace=1000;addup=1;showreseed=1;thick=1", true,
            "Textbook needles · 1000 a second · runs add up · reseed values shown · thick needles");
        row("a switch turned off again", "textbook=1;textbook=0;scale=1.50", false, "1.5×");
        row("a size written whole", "scale=3.0", false, "3×");
        row("pace 0 is all at once", "pace=0", false, "");
        row("unknown option", "pace=5;slow", false, "unknown mode 'slow'");
        row("an option's name is no parameter", "add-up=1", true, "unknown mode 'add-up'");
        row("the page has no scale", "scale=2", true, "unknown mode 'scale'");
        row("negative pace", "pace=-5", true,
            "pace= takes a whole number of needles a second from 0 to 1000, not '-5'");
        row("pace in words", "pace=5x", false,
            "--pace takes a whole number of needles a second from 0 to 1000, not '5x'");
        row("size not offered", "scale=2.50", false,
            "--scale takes a size of 1, 1.5, 2 or 3, not '2.50'");
        row("switch of another value", "thick=yes", true, "thick= takes 1 or 0, not 'yes'");
        row("malformed reseed value", "reseed=12:30", false,
            "--reseed takes a reseed value, a non-negative single-precision number in decimal, "
            "not '12:30'");
    }

    void choicesGiveModesOrOneLine()
    {
        QFETCH(QString, choices);
        QFETCH(bool, page);
        QFETCH(QString, outcome);
        const auto parsed =
            parseModes(choicesOf(choices), page ? ModeNames::Parameter : ModeNames::Option);
        QCOMPARE(QString::fromStdString(parsed.error.empty() ? modeLine(parsed.modes, {})
                                                             : parsed.error),
                 outcome);
        QVERIFY(parsed.error.empty() || parsed.modes == LessonModes{});
    }

    void reseedValuesReadBackOrAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");  // -1: refused
        const auto row = [](const char* text, double value) {
            QTest::newRow(text) << QString::fromLatin1(text) << value;
        };
        row("0", 0);
        row(".5", 0.5);
        row("1e3", 1000);
        row("1.40129846432482e-45", 0x1p-149);
        row("3.40282346638529e+38", 3.40282346638528859811704183484516925440e+38);
        for (const char* refused : {"", "-1", "-0", "+1", " 1", "1 ", "1,5", "inf", "nan", "0x1p3",
                                    "1e39", "1e-50", "1.5.2", "e5"}) {
            row(refused, -1);
        }
    }

    void reseedValuesReadBackOrAreRefused()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        const auto read = readReseedValue(text.toStdString());
        QCOMPARE(read ? double(*read) : -1.0, value);
    }

    void everyReseedValueReadsBackFromItsText()
    {
        std::mt19937 bits(7);
        for (int i = 0; i < 100000; ++i) {
            const auto value = std::bit_cast<float>(std::uint32_t(bits() % 0x7f800000u));
            const auto read = readReseedValue(reseedText(value));
            QVERIFY2(
                read && std::bit_cast<std::uint32_t>(*read) == std::bit_cast<std::uint32_t>(value),
                reseedText(value).c_str());
        }
    }

    void anySplitOfTheFallsIsTheRunOfAClick_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("falls");
        QTest::newRow("10 one by one") << 0 << QList<int>(10, 1);
        QTest::newRow("1,000 in uneven falls, the last too many")
            << 2 << QList<int>{1, 333, 0, 999};
        QTest::newRow("50,000 in two") << 4 << QList<int>{24999, 25001};
    }

    void anySplitOfTheFallsIsTheRunOfAClick()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, falls);
        World click;
        runExperiment(kRunSizes[size], click.context);
        World stepped;
        SteppedRun run(stepped.context);
        WindowNeedles needles(stepped.random);
        run.start(kRunSizes[size], needles);
        run.fall(0);  // a step with no needle due throws none
        QCOMPARE(run.fallen(), 0);
        for (const int fall : falls) {
            run.fall(fall);
        }
        run.finish();
        QVERIFY(!run.running());
        QCOMPARE(stepped.count.text + " " + stepped.estimate.text,
                 click.count.text + " " + click.estimate.text);
        QVERIFY(std::equal(click.board.data(), click.board.data() + kBoardWidth * kBoardHeight,
                           stepped.board.data()));
    }

    void runsOfAnotherKindStartTheSumsAgain()
    {
        World world;
        SteppedRun run(world.context);
        WindowNeedles window(world.random);
        LessonModes modes;
        modes.textbook = true;
        const auto textbook = boardNeedleSource(modes, world.random);
        for (NeedleSource* source :
             {static_cast<NeedleSource*>(&window), textbook.get(), textbook.get()}) {
            run.start(kRunSizes[0], *source, {.reseed = 1.5f, .addUp = true});
            run.fall(10);
            run.finish();
        }
        QCOMPARE(run.totals().needles, 20);  // the textbook's two, the window's not among them
        run.resetTotals();
        QVERIFY(!run.reseedValue());  // Init leaves no run to name
    }

    void textbookNeedlesAreOneLengthAndHitWhereTheyCross_data()
    {
        QTest::addColumn<float>("reseed");
        QTest::addColumn<int>("needles");
        QTest::newRow("one needle") << 0.0f << 1;
        QTest::newRow("1,000 needles") << 45296.25f << 1000;
        QTest::newRow("50,000 needles") << 86399.99f << 50000;
    }

    void textbookNeedlesAreOneLengthAndHitWhereTheyCross()
    {
        QFETCH(float, reseed);
        QFETCH(int, needles);
        World world;
        LessonModes modes;
        modes.textbook = true;
        const auto source = boardNeedleSource(modes, world.random);
        Recorded recorded(*source);
        SteppedRun run(world.context);
        run.start({needles, 700}, recorded, {.reseed = reseed});
        run.fall(needles);
        run.finish();
        for (const BoardNeedle& n : recorded.needles) {
            const double centreX = (double(n.x1) + n.x2) / 2;
            const double centreY = (double(n.y1) + n.y2) / 2;
            const int line = int(std::lround(centreY / 80)) * 80;
            const bool across = std::min(n.y1, n.y2) <= line && line <= std::max(n.y1, n.y2);
            const QString where =
                QStringLiteral("%1,%2 to %3,%4").arg(n.x1).arg(n.y1).arg(n.x2).arg(n.y2);
            QVERIFY2(std::abs(std::hypot(n.x2 - n.x1, n.y2 - n.y1) - 40) < 1e-4, qPrintable(where));
            QVERIFY2(centreX >= 40 && centreX < 440 && centreY >= 40 && centreY <= 440,
                     qPrintable(where));
            QVERIFY2(across == (n.outcome == Outcome::Hit), qPrintable(where));
        }
    }

    void textbookPlacesSpreadOverTheBoard()
    {
        // Both sides of all five lines, both leans, and x over the whole span.
        std::set<int> bands;
        double lowestX = 440, highestX = 40;
        int leaningDown = 0;
        for (std::uint32_t spare = 0; spare < (1u << 24); spare += 4099) {
            const BoardNeedle n = TextbookBoardNeedles::placed({0.5, 10, false}, spare);
            bands.insert(int(std::floor((n.y1 + n.y2) / 2 / 40)));
            lowestX = std::min(lowestX, (double(n.x1) + n.x2) / 2);
            highestX = std::max(highestX, (double(n.x1) + n.x2) / 2);
            leaningDown += n.y2 > n.y1;
        }
        QCOMPARE(bands, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QVERIFY(lowestX < 41 && highestX > 439);
        QVERIFY(leaningDown > 1500 && leaningDown < 2600);
    }

    void thickNeedlesAreThreePixelsWideAndLinesStayFine()
    {
        PixelBoard board;
        ruleBoard(board, PaletteIndex::LightRed);
        drawBoardNeedle(board, {100, 100, 140, 110, Outcome::Hit}, kThickNeedleWidth);
        drawBoardNeedle(board, {300, 100, 310, 140, Outcome::Miss}, kThickNeedleWidth);
        const auto painted = [&](int x0, int y0, int dx, int dy, Rgb colour) {
            int count = 0;
            for (int i = 0; i < 9; ++i) {
                count += board.pixelAt(x0 + i * dx, y0 + i * dy) == colour;
            }
            return count;
        };
        QCOMPARE(painted(120, 100, 0, 1, Rgb{0, 0, 255}), 3);  // down across a flat needle
        QCOMPARE(painted(301, 120, 1, 0, Rgb{0, 255, 0}), 3);  // along a steep one
        QCOMPARE(painted(10, 76, 0, 1, Rgb{255, 0, 0}), 1);    // a ruled line
    }
};

QTEST_APPLESS_MAIN(LessonModesTest)
#include "tst_lesson_modes.moc"
