#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>

#include "needle.h"
#include "random_source.h"
#include "scripted_random.h"

using namespace buffon;

namespace {
constexpr float kLargestDraw = 1.0f - 0x1p-24f;  // the largest float below 1
}

class NeedleTest : public QObject {
    Q_OBJECT

private slots:
    void hitRule_data();
    void hitRule();
    void hitRuleIsTheBandRule();
    void onlyHeightsDecide();
    void drawsAreUsedInOrder();
    void fieldsStayInRangeAtExtremeDraws_data();
    void fieldsStayInRangeAtExtremeDraws();
    void endsNeverLeaveTheirRange();
    void sourceStaysBelowOne();
    void sourceRepeatsForTheSameSeed();
    void hitFractionFollowsTheIntegerRule();
};

void NeedleTest::hitRule_data()
{
    QTest::addColumn<float>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<bool>("hit");

    QTest::newRow("end on a line") << 120.0f << 80.0 << true;
    QTest::newRow("end just below a line") << 120.0f << 81.0 << false;
    QTest::newRow("strictly across, downwards") << 79.0f << 81.0 << true;
    QTest::newRow("strictly across, upwards") << 401.0f << 399.0 << true;
    QTest::newRow("between lines") << 81.0f << 119.0 << false;
    QTest::newRow("flat on a line") << 160.0f << 160.0 << true;
    QTest::newRow("flat off a line") << 161.0f << 161.0 << false;
    QTest::newRow("start on a line") << 240.0f << 270.0 << true;
    QTest::newRow("start on the last line") << 400.0f << 439.0 << true;
    QTest::newRow("below the last line") << 401.0f << 439.0 << false;
    QTest::newRow("edge of the board is no line") << 40.0f << 0.0 << false;
    QTest::newRow("no line at 480") << 440.0f << 479.0 << false;
}

void NeedleTest::hitRule()
{
    QFETCH(float, start);
    QFETCH(double, end);
    QFETCH(bool, hit);
    QCOMPARE(ClassifyNeedle(start, end) == Outcome::Hit, hit);
}

void NeedleTest::hitRuleIsTheBandRule()
{
    // Every pair a needle can produce: a hit exactly when a line lies between the two heights.
    for (int start = 40; start <= 439; ++start) {
        for (int end = start - 40; end <= start + 40; ++end) {
            bool expected = false;
            for (int line = 80; line <= 400; line += 80) {
                expected =
                    expected || (std::min(start, end) <= line && line <= std::max(start, end));
            }
            const bool hit = ClassifyNeedle(float(start), double(end)) == Outcome::Hit;
            if (hit != expected) {
                QFAIL(qPrintable(QStringLiteral("start %1, end %2").arg(start).arg(end)));
            }
        }
    }
}

void NeedleTest::onlyHeightsDecide()
{
    // Same second and fourth draws, any first and third: same heights, same outcome.
    for (const float y : {0.1f, 0.2f, 0.30f, 0.45f, 0.9f}) {
        for (const float angle : {0.0f, 0.2f, 0.7f}) {
            ScriptedRandom reference({0.5f, y, 0.25f, angle});
            const Needle base = ThrowNeedle(reference);
            for (const float x : {0.0f, 0.33f, 0.99f}) {
                for (const float turn : {0.0f, 0.5f, 0.8f}) {
                    ScriptedRandom random({x, y, turn, angle});
                    const Needle needle = ThrowNeedle(random);
                    QCOMPARE(needle.Y1, base.Y1);
                    QCOMPARE(needle.Y2, base.Y2);
                    QCOMPARE(needle.outcome, base.outcome);
                }
            }
        }
    }
}

void NeedleTest::drawsAreUsedInOrder()
{
    // x from the first draw, y from the second, the across offset from the third draw's angle
    // and the down offset from the fourth's.
    ScriptedRandom random({0.25f, 0.5f, 0.125f, 0.0f, 0.5f, 0.25f, 0.0f, 0.125f});
    const Needle across = ThrowNeedle(random);
    QCOMPARE(random.taken, std::size_t{4});
    QCOMPARE(across.X1, 140.0f);
    QCOMPARE(across.Y1, 240.0f);
    QCOMPARE(across.X2, 168.0);  // 140 + 40 cos(an eighth of a turn)
    QCOMPARE(across.Y2, 240.0);  // 240 + 40 sin 0

    const Needle down = ThrowNeedle(random);
    QCOMPARE(random.taken, std::size_t{8});
    QCOMPARE(down.X1, 240.0f);
    QCOMPARE(down.Y1, 140.0f);
    QCOMPARE(down.X2, 280.0);
    QCOMPARE(down.Y2, 168.0);
    QCOMPARE(down.outcome, Outcome::Hit);  // across the line at 160
}

void NeedleTest::fieldsStayInRangeAtExtremeDraws_data()
{
    QTest::addColumn<float>("draw");
    QTest::addColumn<float>("startWhole");
    QTest::newRow("zero") << 0.0f << 40.0f;
    QTest::newRow("largest below one") << kLargestDraw << 439.0f;
}

void NeedleTest::fieldsStayInRangeAtExtremeDraws()
{
    QFETCH(float, draw);
    QFETCH(float, startWhole);
    ScriptedRandom random({draw});
    const Needle needle = ThrowNeedle(random);
    QVERIFY(needle.x1 >= 40.0f && needle.x1 < 440.0f);
    QVERIFY(needle.y1 >= 40.0f && needle.y1 < 440.0f);
    QCOMPARE(needle.X1, startWhole);
    QCOMPARE(needle.Y1, startWhole);
    QVERIFY(needle.x2 >= 0.0 && needle.x2 < 480.0);
    QVERIFY(needle.y2 >= 0.0 && needle.y2 < 480.0);
    QVERIFY(needle.X2 <= 479.0 && needle.Y2 <= 479.0);
}

void NeedleTest::endsNeverLeaveTheirRange()
{
    // The smallest start with every angle near a half and three quarter turns, and the largest
    // start with every angle near none: the ends reach 0 and just short of 480.
    for (const float start : {0.0f, kLargestDraw}) {
        for (float angle = 0.0f; angle < 1.0f; angle += 1.0f / 4096) {
            for (const float nudge : {0.0f, 0x1p-24f, -0x1p-24f}) {
                const float turn = std::clamp(angle + nudge, 0.0f, kLargestDraw);
                ScriptedRandom random({start, start, turn, turn});
                const Needle needle = ThrowNeedle(random);
                QVERIFY(needle.x2 >= 0.0 && needle.x2 < 480.0);
                QVERIFY(needle.y2 >= 0.0 && needle.y2 < 480.0);
                QVERIFY(std::fabs(needle.y2 - needle.y1) <= 40.0);
            }
        }
    }
}

void NeedleTest::sourceStaysBelowOne()
{
    UniformRandomSource random(12345.678f);
    float lowest = 1.0f;
    float highest = 0.0f;
    double sum = 0;
    constexpr int kDraws = 4'000'000;
    for (int i = 0; i < kDraws; ++i) {
        const float value = random.NextValue();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        sum += value;
    }
    QVERIFY(lowest >= 0.0f);
    QVERIFY(highest < 1.0f);
    QVERIFY(highest > 0.999f);
    QVERIFY(lowest < 0.001f);
    QVERIFY(std::fabs(sum / kDraws - 0.5) < 0.001);
}

void NeedleTest::sourceRepeatsForTheSameSeed()
{
    UniformRandomSource first(43200.5f);
    UniformRandomSource second(1.0f);
    second.Reseed(43200.5f);
    UniformRandomSource other(43200.5078125f);  // the next float up
    int differences = 0;
    for (int i = 0; i < 1000; ++i) {
        const float value = first.NextValue();
        QCOMPARE(second.NextValue(), value);
        differences += other.NextValue() != value;
    }
    QVERIFY(differences > 990);
}

void NeedleTest::hitFractionFollowsTheIntegerRule()
{
    // Each line is a band one unit thick, so the rate is about 1/pi + 1/80, not 1/pi.
    UniformRandomSource random(31415.9f);
    constexpr int kNeedles = 1'000'000;
    int hits = 0;
    for (int i = 0; i < kNeedles; ++i) {
        hits += ThrowNeedle(random).outcome == Outcome::Hit;
    }
    const double fraction = double(hits) / kNeedles;
    QVERIFY2(std::fabs(fraction - 0.33069) <= 0.002, qPrintable(QString::number(fraction)));
}

QTEST_APPLESS_MAIN(NeedleTest)
#include "tst_needle.moc"
