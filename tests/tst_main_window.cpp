#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "experiment/number_text.h"
#include "recording_device.h"
#include "window/main_window.h"

using namespace buffon;

namespace {

const QColor kWhite(255, 255, 255), kBlack(0, 0, 0), kRed(255, 0, 0), kGreen(0, 255, 0),
    kBlue(0, 0, 255);

template <typename T = QWidget>
T* control(const QWidget& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}

QString text(const QWidget& window, const char* label)
{
    return control<QLabel>(window, label)->text();
}

void click(const QWidget& window, const char* button)
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

// Board pixels for which `wrong` holds.
int countWrong(const QImage& board, const std::function<bool(int, int, QColor)>& wrong)
{
    int count = 0;
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            count += wrong(x, y, board.pixelColor(x, y));
        }
    }
    return count;
}

bool onLine(int x, int y)
{
    return x < 480 && y > 0 && y % 80 == 0;
}

// White, with the five lines in the given colour and nothing else.
bool freshlyRuled(const QImage& board, const QColor& line)
{
    return countWrong(board, [&](int x, int y, QColor c) {
               return c != (onLine(x, y) ? line : kWhite);
           }) == 0;
}

bool blankWindow(const QWidget& window)
{
    return freshlyRuled(shownBoard(window), kBlack) && text(window, "Label2").isEmpty() &&
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
            timer->deleteLater();
            timer->stop();
            answer(box);
        }
    });
    timer->start(10);
}

// What is written to stderr while `step` runs.
QString stderrOf(const std::function<void()>& step)
{
    QTemporaryFile file;
    file.open();
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    step();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    return QString::fromUtf8(file.readAll());
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void stackingAndTabOrder();
    void facesHaveTheFullWidthCharactersAndTheFormulaReadsAsAFraction();
    void runButtons_data();
    void runButtons();
    void initShowsABlankBoardOnScreen();
    void keyboardClicksOnlyAFocusedButton();
    void clicksDuringARunAreHandledAfterIt();
    void failingCueIsReportedOnceAndStopsTheHandler();
    void exitAsksAndCloses_data();
    void exitAsksAndCloses();
};

void MainWindowTest::stackingAndTabOrder()
{
    MainWindow window;
    const QObjectList stack = window.children();  // back to front
    const auto depth = [&](const char* name) {
        return stack.indexOf(control(window, name));
    };
    const char* labels[] = {"Label7", "Label6", "Label5", "Label4", "Label3", "Label2", "Label1"};
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
}

void MainWindowTest::facesHaveTheFullWidthCharactersAndTheFormulaReadsAsAFraction()
{
    MainWindow window;
    for (QWidget* item : window.findChildren<QWidget*>(QRegularExpression("^(Label|Command)"))) {
        const QRawFont face = QRawFont::fromFont(item->font());
        for (const char32_t character : {U'＝', U'（', U'）', U'÷'}) {
            QVERIFY2(face.supportsCharacter(character),
                     qPrintable(item->objectName() + ": " + face.familyName()));
        }
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
}

void MainWindowTest::runButtons_data()
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

void MainWindowTest::runButtons()
{
    QFETCH(QString, button);
    QFETCH(int, needles);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    MainWindow window;
    showAndActivate(window);
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
    QLocale::setDefault(QLocale::c());

    // Only the four colours, nothing right of the lines' ends, lines red under the needles.
    const QImage board = shownBoard(window);
    QCOMPARE(countWrong(board,
                        [](int x, int y, QColor c) {
                            return !QList<QColor>{kWhite, kRed, kGreen, kBlue}.contains(c) ||
                                   (x >= 480 && c != kWhite) || (onLine(x, y) && c == kWhite);
                        }),
             0);
    QVERIFY(needles > 1000 || countWrong(board, [](int, int, QColor c) {
                                  return c == kRed;
                              }) > 0);

    bool isNumber = false;
    const int count = text(window, "Label4").toInt(&isNumber);
    QVERIFY(isNumber);
    const std::string separator = QLocale(locale).decimalPoint().toStdString();
    QCOMPARE(
        text(window, "Label2"),
        count ? QString::fromStdString(numberText(double(needles) / count, separator)) : QString());
    // Far from the rate of the hit rule, the count would point at a fault.
    QVERIFY(needles < 1000 || qAbs(double(count) / needles - 0.32) < 0.05);
}

void MainWindowTest::initShowsABlankBoardOnScreen()
{
    MainWindow window;
    showAndActivate(window);
    QVERIFY(blankWindow(window));
    click(window, "Command3");
    QVERIFY(!freshlyRuled(shownBoard(window), kBlack));
    click(window, "Command6");
    QVERIFY(blankWindow(window));
    click(window, "Command6");
    QVERIFY(blankWindow(window));
}

void MainWindowTest::keyboardClicksOnlyAFocusedButton()
{
    MainWindow window;
    showAndActivate(window);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    QCOMPARE(text(window, "Label4"), QString());

    const auto press = [&](const char* button, Qt::Key key) {
        auto* target = control<QPushButton>(window, button);
        target->setFocus();
        QTest::keyClick(target, key);
        return !text(window, "Label4").isEmpty();
    };
    QVERIFY(press("Command1", Qt::Key_Return));
    QVERIFY(!press("Command6", Qt::Key_Enter));
    QVERIFY(press("Command1", Qt::Key_Space));
    QVERIFY(!press("Command6", Qt::Key_Space));
}

void MainWindowTest::clicksDuringARunAreHandledAfterIt()
{
    RecordingDevice device;
    MainWindow window(&device);
    showAndActivate(window);
    QPushButton* init = control<QPushButton>(window, "Command6");
    device.onCommand = [init](const QString& command) {
        if (command != "Sound") {
            return;
        }
        // A click on Init arrives while the run is going on.
        const QPointF centre = QRectF(init->rect()).center();
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const auto buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QCoreApplication::postEvent(
                init, new QMouseEvent(type, centre, init->mapToGlobal(centre), Qt::LeftButton,
                                      buttons, {}));
        }
    };
    click(window, "Command7");
    device.onCommand = nullptr;
    QVERIFY(!text(window, "Label4").isEmpty());  // the run ended undisturbed
    QTRY_VERIFY(blankWindow(window));
}

void MainWindowTest::failingCueIsReportedOnceAndStopsTheHandler()
{
    RecordingDevice device;
    bool refuse = true;
    device.onCommand = [&refuse](const QString& command) {
        if (refuse && command == "Open") {
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
        const QString err = stderrOf([&] {
            click(window, button);
        });
        QCOMPARE(reported, QStringList{"The sound device is busy."});
        QCOMPARE(err.count("The sound device is busy."), 1);
        QCOMPARE(device.puts.size(), 4);  // stopped at Open: no Sound, no run, no exit box
        QVERIFY(window.isVisible());
        QVERIFY(blankWindow(window));
    }
    refuse = false;
    click(window, "Command1");
    QVERIFY(!text(window, "Label4").isEmpty());
}

void MainWindowTest::exitAsksAndCloses_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("OK button") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("close") << -1;
}

void MainWindowTest::exitAsksAndCloses()
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
        } else if (answer > 0) {
            QTest::keyClick(box, Qt::Key(answer));
        } else {
            box->close();
        }
    });
    click(window, "Command5");
    // The device was stopped and closed on the run's cue before the exit cue was opened.
    QCOMPARE(seen, (QStringList{"Stop", "Close", "endpinpon.wav", "Open", "Sound",
                                "Scatter needles to find pi !", "This software will exit.", "1",
                                QString::number(QMessageBox::NoIcon), "1"}));
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
