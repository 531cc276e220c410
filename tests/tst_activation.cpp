#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "window/activation_watcher.h"

using namespace buffon;

class ActivationTest : public QObject {
    Q_OBJECT

private slots:
    void rulesOnlyWhenTakingTheFocusBackFromItsOwnProgram_data();
    void rulesOnlyWhenTakingTheFocusBackFromItsOwnProgram();
};

void ActivationTest::rulesOnlyWhenTakingTheFocusBackFromItsOwnProgram_data()
{
    // The program's focus window, step by step: W the watched window, O another window of the
    // program (a dialog, say), - none of the program's (another program has the focus, or X11
    // is between two of the program's windows).
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("activations");
    QTest::newRow("first showing") << "W" << 1;
    QTest::newRow("first showing after another own window") << "OW" << 1;
    QTest::newRow("focus staying") << "WW" << 1;
    QTest::newRow("back from another own window") << "WOW" << 2;
    QTest::newRow("back from a dialog closing on X11") << "WO-W" << 2;
    QTest::newRow("back from another program") << "W-W" << 1;
    QTest::newRow("another program after coming back from an own window") << "WOW-W" << 2;
    QTest::newRow("an own window between two other programs") << "W-O-W" << 2;
}

void ActivationTest::rulesOnlyWhenTakingTheFocusBackFromItsOwnProgram()
{
    QFETCH(QString, focus);
    QFETCH(int, activations);
    QWidget watched;
    watched.winId();  // gives it its native window, as showing would
    QWindow other;
    ActivationWatcher watcher;
    watcher.watch(&watched);
    QSignalSpy activated(&watcher, &ActivationWatcher::activated);
    for (const QChar step : focus) {
        watcher.focusWindowChanged(step == 'W'   ? watched.windowHandle()
                                   : step == 'O' ? &other
                                                 : nullptr);
    }
    QCOMPARE(activated.count(), activations);
}

QTEST_MAIN(ActivationTest)
#include "tst_activation.moc"
