#include <QTest>
#include <string>
#include <vector>

#include "experiment_run.h"
#include "number_text.h"
#include "run_fakes.h"
#include "scripted_random.h"

using namespace buffon;

namespace {

struct Run {
    Run(int needles, int hits) : random(NeedlesWithHits(needles, hits)) {}

    void Start(int needles)
    {
        for (const RunSize& size : kRunSizes) {
            if (size.needles == needles) {
                RunExperiment(size, context);
            }
        }
    }

    RecordingServices services;
    ScriptedRandom random;
    RecordingCaption estimate{services.log, "Label2"};
    RecordingCaption count{services.log, "Label4"};
    RunContext context{services, services, random, services, estimate, count};
};

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void resultsOfEveryRunSize_data();
    void resultsOfEveryRunSize();
    void stepsComeInOrder();
    void failingCueStopsTheRun();
    void numberTexts();
};

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
    Run run(needles, hits);
    run.Start(needles);
    QCOMPARE(QString::fromStdString(run.estimate.text), estimate);
    QCOMPARE(QString::fromStdString(run.count.text), count);
    QCOMPARE(run.random.taken, std::size_t(needles) * 4);
    QCOMPARE(run.services.blueSegments, hits);  // the count shown is after the deduction
}

void RunTest::stepsComeInOrder()
{
    Run run(10, 2);
    run.Start(10);
    std::vector<std::string> expected{"cue pinpon.wav", "clear"};
    for (const char* y : {"80", "160", "240", "320", "400"}) {
        expected.push_back(std::string("segment 0,") + y + " 480," + y + " colour 12");
    }
    expected.push_back("clock");
    for (int i = 0; i < 10; ++i) {
        expected.push_back(i < 2 ? "segment 240,80 280,80 colour 9"
                                 : "segment 240,120 280,120 colour 10");
    }
    expected.push_back("Label2 \"5\"");
    expected.push_back("Label4 \"2\"");
    QCOMPARE(run.services.log, expected);
    QCOMPARE(run.random.seeds, std::vector<float>{61.5f});
}

void RunTest::failingCueStopsTheRun()
{
    Run run(10, 4);
    run.services.refuseCue = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, run.Start(10));
    QCOMPARE(run.services.log, std::vector<std::string>{"cue pinpon.wav"});
    QCOMPARE(run.estimate.text, "earlier");
}

void RunTest::numberTexts()
{
    QCOMPARE(NumberText(50000.0), "50000");  // no group separator
    QCOMPARE(NumberText(3.125, ","), "3,125");
    QCOMPARE(NumberText(2.0, ","), "2");
    QCOMPARE(NumberText(-700), "-700");
}

QTEST_APPLESS_MAIN(RunTest)
#include "tst_run.moc"
