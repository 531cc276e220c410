#include <QTest>
#include <algorithm>
#include <cmath>

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
    void drawsAreUsedInOrder();
    void fieldsStayInRange();
    void sourceStaysBelowOneAndRepeats();
    void hitFractionFollowsTheIntegerRule();
};

void NeedleTest::hitRule_data()
{
    QTest::addColumn<float>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<bool>("hit");
    QTest::newRow("end on a line") << 120.0f << 80.0 << true;
    QTest::newRow("end just below a line") << 120.0f << 81.0 << false;
    QTest::newRow("strictly across") << 79.0f << 81.0 << true;
    QTest::newRow("between lines") << 81.0f << 119.0 << false;
    QTest::newRow("flat on a line") << 160.0f << 160.0 << true;
    QTest::newRow("flat off a line") << 161.0f << 161.0 << false;
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
            if ((ClassifyNeedle(float(start), double(end)) == Outcome::Hit) != expected) {
                QFAIL(qPrintable(QStringLiteral("start %1, end %2").arg(start).arg(end)));
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
    QCOMPARE(QList<double>({across.X1, across.Y1, across.X2, across.Y2}),
             QList<double>({140, 240, 168, 240}));  // 168 = 140 + 40 cos(an eighth of a turn)
    const Needle down = ThrowNeedle(random);
    QCOMPARE(QList<double>({down.X1, down.Y1, down.X2, down.Y2}),
             QList<double>({240, 140, 280, 168}));
    QCOMPARE(down.outcome, Outcome::Hit);  // across the line at 160
}

void NeedleTest::fieldsStayInRange()
{
    // The smallest and largest start draws with every angle, nudged by the smallest step either
    // way: the ends reach 0 and stay short of 480.
    for (const float start : {0.0f, kLargestDraw}) {
        for (float angle = 0.0f; angle < 1.0f; angle += 1.0f / 4096) {
            for (const float nudge : {0.0f, 0x1p-24f, -0x1p-24f}) {
                const float turn = std::clamp(angle + nudge, 0.0f, kLargestDraw);
                ScriptedRandom random({start, start, turn, turn});
                const Needle needle = ThrowNeedle(random);
                QCOMPARE(needle.X1, start == 0 ? 40.0f : 439.0f);
                QVERIFY(needle.x1 >= 40.0f && needle.x1 < 440.0f);
                QVERIFY(needle.x2 >= 0.0 && needle.x2 < 480.0);
                QVERIFY(needle.y2 >= 0.0 && needle.y2 < 480.0);
            }
        }
    }
}

void NeedleTest::sourceStaysBelowOneAndRepeats()
{
    UniformRandomSource random(43200.5f);
    UniformRandomSource again(1.0f);
    again.Reseed(43200.5f);
    UniformRandomSource next(43200.5078125f);  // the next float up
    float lowest = 1.0f;
    float highest = 0.0f;
    int differences = 0;
    for (int i = 0; i < 4'000'000; ++i) {
        const float value = random.NextValue();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        if (i < 1000) {
            QCOMPARE(again.NextValue(), value);
            differences += next.NextValue() != value;
        }
    }
    QVERIFY(lowest >= 0.0f && lowest < 0.001f);
    QVERIFY(highest < 1.0f && highest > 0.999f);
    QVERIFY(differences > 990);
}

void NeedleTest::hitFractionFollowsTheIntegerRule()
{
    // Each line is a band one unit thick, so the rate is about 1/pi + 1/80, not 1/pi.
    UniformRandomSource random(31415.9f);
    int hits = 0;
    for (int i = 0; i < 1'000'000; ++i) {
        hits += ThrowNeedle(random).outcome == Outcome::Hit;
    }
    QVERIFY2(std::fabs(hits / 1e6 - 0.33069) <= 0.002, qPrintable(QString::number(hits)));
}

QTEST_APPLESS_MAIN(NeedleTest)
#include "tst_needle.moc"
