#include <QTest>
#include <string>
#include <vector>

#include "experiment_run.h"
#include "number_text.h"
#include "run_fakes.h"
#include "scripted_random.h"

using namespace buffon;

namespace {

const RunSize& SizeFor(int needles)
{
    for (const RunSize& size : kRunSizes) {
        if (size.needles == needles) {
            return size;
        }
    }
    throw std::out_of_range("no run size");
}

struct Harness {
    explicit Harness(int needles, int hits, float seconds = 43200.25f)
        : random(NeedlesWithHits(needles, hits)),
          cue(log),
          board(log),
          clock(log, seconds),
          estimate(log, "Label2"),
          count(log, "Label4"),
          context{cue, board, random, clock, estimate, count}
    {
    }
    RunLog log;
    ScriptedRandom random;
    LoggingCue cue;
    LoggingBoard board;
    FixedClock clock;
    LoggingCaption estimate;
    LoggingCaption count;
    RunContext context;
};

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void runSizes();
    void resultsOfEveryRunSize_data();
    void resultsOfEveryRunSize();
    void stepsComeInOrder();
    void everyNeedleIsDrawnInItsColour();
    void estimateUsesTheDecimalSeparator();
    void numberTexts_data();
    void numberTexts();
    void failingCueStopsBeforeTheBoard();
    void failingBoardLeavesLabelsAlone();
};

void RunTest::runSizes()
{
    std::vector<std::tuple<std::string, std::string, int, int>> rows;
    for (const RunSize& size : kRunSizes) {
        rows.emplace_back(size.button, size.caption, size.needles, size.deduction);
    }
    const std::vector<std::tuple<std::string, std::string, int, int>> expected{
        {"Command1", "10", 10, 0},
        {"Command2", "100", 100, 0},
        {"Command3", "1,000", 1000, 10},
        {"Command4", "10,000", 10000, 100},
        {"Command7", "50,000", 50000, 700}};
    QVERIFY(rows == expected);
}

void RunTest::resultsOfEveryRunSize_data()
{
    QTest::addColumn<int>("needles");
    QTest::addColumn<int>("hits");
    QTest::addColumn<QString>("estimate");
    QTest::addColumn<QString>("count");

    QTest::newRow("10, 4 hits") << 10 << 4 << "2.5"
                                << "4";
    QTest::newRow("10, 5 hits") << 10 << 5 << "2"
                                << "5";
    QTest::newRow("10, 3 hits") << 10 << 3 << "3.33333333333333"
                                << "3";
    QTest::newRow("10, no hit") << 10 << 0 << ""
                                << "0";
    QTest::newRow("100, 32 hits") << 100 << 32 << "3.125"
                                  << "32";
    QTest::newRow("1,000, 328 hits") << 1000 << 328 << "3.14465408805031"
                                     << "318";
    QTest::newRow("1,000, 330 hits") << 1000 << 330 << "3.125"
                                     << "320";
    QTest::newRow("1,000, deduction leaves 0") << 1000 << 10 << ""
                                               << "0";
    QTest::newRow("1,000, negative count") << 1000 << 5 << "-200"
                                           << "-5";
    QTest::newRow("10,000, 3,300 hits") << 10000 << 3300 << "3.125"
                                        << "3200";
    QTest::newRow("10,000, no hit") << 10000 << 0 << "-100"
                                    << "-100";
    QTest::newRow("50,000, 16,600 hits") << 50000 << 16600 << "3.14465408805031"
                                         << "15900";
    QTest::newRow("50,000, past 32,767") << 50000 << 40700 << "1.25"
                                         << "40000";
    QTest::newRow("50,000, no hit") << 50000 << 0 << "-71.4285714285714"
                                    << "-700";
}

void RunTest::resultsOfEveryRunSize()
{
    QFETCH(int, needles);
    QFETCH(int, hits);
    QFETCH(QString, estimate);
    QFETCH(QString, count);
    Harness run(needles, hits);
    RunExperiment(SizeFor(needles), run.context);
    QCOMPARE(QString::fromStdString(run.estimate.text), estimate);
    QCOMPARE(QString::fromStdString(run.count.text), count);
    QCOMPARE(run.random.taken, std::size_t(needles) * 4);
    QCOMPARE(run.log.blueSegments, hits);  // the count shown is after the deduction
}

void RunTest::stepsComeInOrder()
{
    Harness run(10, 2, 61.5f);
    RunExperiment(SizeFor(10), run.context);

    std::vector<std::string> expected{"cue pinpon.wav", "clear"};
    for (int y = 80; y <= 400; y += 80) {
        expected.push_back("segment 0," + std::to_string(y) + " 480," + std::to_string(y) +
                           " colour 12");
    }
    expected.push_back("clock");
    for (int i = 0; i < 10; ++i) {
        expected.push_back(i < 2 ? "segment 240,80 280,80 colour 9"
                                 : "segment 240,120 280,120 colour 10");
    }
    expected.push_back("Label2 \"5\"");
    expected.push_back("Label4 \"2\"");
    QCOMPARE(run.log.entries, expected);
    QCOMPARE(run.random.seeds, std::vector<float>{61.5f});
}

void RunTest::everyNeedleIsDrawnInItsColour()
{
    Harness run(100, 37);
    RunExperiment(SizeFor(100), run.context);
    QCOMPARE(run.board.segments, 5 + 100);
    QCOMPARE(run.log.blueSegments, 37);
}

void RunTest::estimateUsesTheDecimalSeparator()
{
    Harness run(1000, 330);
    run.context.decimalSeparator = ",";
    RunExperiment(SizeFor(1000), run.context);
    QCOMPARE(run.estimate.text, std::string("3,125"));
    QCOMPARE(run.count.text, std::string("320"));
}

void RunTest::numberTexts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 2.0 << "."
                           << "2";
    QTest::newRow("fifteen digits") << 10.0 / 3 << "."
                                    << "3.33333333333333";
    QTest::newRow("rounded last digit") << 1000.0 / 318 << "."
                                        << "3.14465408805031";
    QTest::newRow("no trailing zeros") << 2.5 << "."
                                       << "2.5";
    QTest::newRow("negative") << 50000.0 / -700 << "."
                              << "-71.4285714285714";
    QTest::newRow("largest estimate, no group separator") << 50000.0 << "."
                                                          << "50000";
    QTest::newRow("German") << 3.125 << ","
                            << "3,125";
    QTest::newRow("German whole") << 2.0 << ","
                                  << "2";
}

void RunTest::numberTexts()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(NumberText(value, separator.toStdString())), text);
}

void RunTest::failingCueStopsBeforeTheBoard()
{
    Harness run(10, 4);
    run.cue.refuse = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, RunExperiment(SizeFor(10), run.context));
    QCOMPARE(run.log.entries, std::vector<std::string>{"cue pinpon.wav"});
    QCOMPARE(run.estimate.text, std::string("earlier"));
}

void RunTest::failingBoardLeavesLabelsAlone()
{
    Harness run(100, 50);
    run.board.failAtSegment = 5 + 40;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, RunExperiment(SizeFor(100), run.context));
    QCOMPARE(run.board.segments, 45);
    QCOMPARE(run.estimate.text, std::string("earlier"));
    QCOMPARE(run.count.text, std::string("earlier"));
}

QTEST_APPLESS_MAIN(RunTest)
#include "tst_run.moc"
