#include <unistd.h>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QTemporaryFile>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "activation_watcher.h"
#include "form1.h"
#include "number_text.h"
#include "recording_device.h"

using namespace buffon;

namespace {

const QColor kWhite(255, 255, 255), kBlack(0, 0, 0), kRed(255, 0, 0), kGreen(0, 255, 0),
    kBlue(0, 0, 255);

template <typename T = QWidget>
T* Control(const Form1& form, const QString& name)
{
    T* control = form.findChild<T*>(name);
    if (!control) {
        qFatal("no control %s", qPrintable(name));
    }
    return control;
}

QString Text(const Form1& form, const char* label)
{
    return Control<QLabel>(form, label)->text();
}

void Click(const Form1& form, const char* button)
{
    QTest::mouseClick(Control<QPushButton>(form, button), Qt::LeftButton);
}

// What the board shows on screen: the inside of its sunken edge.
QImage Shown(const Form1& form)
{
    return Control(form, "Picture1")
        ->grab()
        .toImage()
        .copy(2, 2, 523, 411)
        .convertToFormat(QImage::Format_RGB32);
}

bool OnRuledLine(int x, int y)
{
    return x < 480 && y >= 80 && y <= 400 && y % 80 == 0;
}

int CountPixels(const QImage& board, const std::function<bool(int, int, QColor)>& wanted)
{
    int count = 0;
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            count += wanted(x, y, board.pixelColor(x, y));
        }
    }
    return count;
}

// White, with the five lines in the given colour and nothing else.
bool FreshlyRuled(const QImage& board, const QColor& line)
{
    return CountPixels(board, [&](int x, int y, QColor c) {
               return c != (OnRuledLine(x, y) ? line : kWhite);
           }) == 0;
}

bool LinesOnlyIn(const QImage& board, const QList<QColor>& colours)
{
    return CountPixels(board, [&](int x, int y, QColor c) {
               return OnRuledLine(x, y) && !colours.contains(c);
           }) == 0;
}

int CountColour(const QImage& board, const QColor& colour)
{
    return CountPixels(board, [&](int, int, QColor c) {
        return c == colour;
    });
}

void ShowAndActivate(Form1& form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

// Calls `answer` with the next modal box as soon as it shows.
void AnswerNextBox(std::function<void(QMessageBox*)> answer)
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
QString StderrOf(const std::function<void()>& step)
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

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void windowFrame();
    void layout_data();
    void layout();
    void stackingAndTabOrder();
    void fontsAndFormula();
    void runSizes_data();
    void runSizes();
    void startAndReset();
    void activation();
    void keyboard();
    void clicksDuringARunAreHandledAfterIt();
    void germanLocaleUsesADecimalComma();
    void failingCueIsReportedOnce();
    void exitAsksAndCloses_data();
    void exitAsksAndCloses();
};

void Form1Test::windowFrame()
{
    Form1 form;
    QCOMPARE(form.windowTitle(), "Scatter needles to find an approximate value of pi !");
    QCOMPARE(form.minimumSize(), QSize(570, 636));
    QCOMPARE(form.maximumSize(), QSize(570, 636));
    QCOMPARE(form.palette().color(QPalette::Window), QColor(240, 240, 240));
    QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));
    const QImage emblem = Control<QLabel>(form, "Picture2")->pixmap().toImage();
    QCOMPARE(emblem.size(), QSize(42, 41));
    QVERIFY(qAbs(emblem.pixelColor(0, 0).red() - 240) <= 2);
    QVERIFY(form.findChild<QObject*>("MMControl1"));
    QVERIFY(!form.findChild<QWidget*>("MMControl1"));  // a device, never shown
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
    }
}

void Form1Test::layout_data()
{
    // Places in twips at 15 twips a pixel; type sizes in points at 96 dots an inch.
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("points");
    const QString formula = QString::fromUtf8("pi = （Total number of thrown needles）") +
                            QString(62, ' ') + "÷ (Number of needles intersecting parallel lines)";
    const auto row = [](const char* name, QRect twips, const QString& text, double points) {
        QTest::newRow(name) << twips << text << points;
    };
    row("Label5", {360, 120, 7695, 375},
        "Needles that intersect parallel lines are displayed in blue.", 11.25);
    row("Label7", {360, 360, 7695, 495}, formula, 11.25);
    row("Picture1", {360, 1080, 7900, 6225}, {}, 0);
    row("Command1", {360, 7440, 988, 615}, "10", 12);
    row("Command2", {1560, 7440, 1086, 615}, "100", 12);
    row("Command3", {2760, 7440, 1185, 615}, "1,000", 12);
    row("Command4", {4080, 7440, 1284, 615}, "10,000", 12);
    row("Command7", {5520, 7440, 1284, 615}, "50,000", 12);
    row("Command6", {6960, 7440, 1284, 615}, "Init", 12);
    row("Label3", {120, 8280, 5535, 255}, "Number of needles intersecting parallel lines ＝", 12);
    row("Label4", {5640, 8280, 1575, 255}, "", 12);
    row("Label1", {3480, 8640, 975, 375}, "pi ＝", 14.25);
    row("Label2", {4200, 8640, 3135, 375}, "", 14.25);
    row("Command5", {960, 8760, 1095, 495}, "Exit", 14.25);
    row("Picture2", {7440, 8760, 630, 615}, {}, 0);
    row("Label6", {4680, 9000, 2775, 255}, {}, 11.25);  // the credit line, in regular weight
}

void Form1Test::layout()
{
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    QFETCH(double, points);
    const QString name = QTest::currentDataTag();
    Form1 form;
    QWidget* control = Control(form, name);
    QCOMPARE(control->geometry(),
             QRect(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                   qRound(twips.height() / 15.0)));
    QVERIFY(control->isVisibleTo(&form));
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
    }
    if (auto* label = qobject_cast<QLabel*>(control); label && name.startsWith("Label")) {
        if (!text.isNull()) {
            QCOMPARE(label->text(), text);
        }
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QVERIFY(label->wordWrap() && label->autoFillBackground());
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }
    if (points > 0) {
        QCOMPARE(control->font().pixelSize(), qRound(points * 96 / 72));
        QCOMPARE(control->font().bold(), name != "Label6");
        QVERIFY(!control->font().italic() && !control->font().underline());
    }
}

void Form1Test::stackingAndTabOrder()
{
    Form1 form;
    const QObjectList stack = form.children();  // back to front
    const auto depth = [&](const char* name) {
        return stack.indexOf(Control(form, name));
    };
    const char* labels[] = {"Label7", "Label6", "Label5", "Label4", "Label3", "Label2", "Label1"};
    for (int i = 1; i < 7; ++i) {
        QVERIFY2(depth(labels[i - 1]) > depth(labels[i]), labels[i]);
    }
    for (const char* above : {"Picture1", "Picture2", "Command1", "Command5", "Command7"}) {
        QVERIFY(depth(above) > depth("Label7"));
    }
    QStringList buttons;
    QWidget* widget = Control(form, "Picture1");
    for (int step = 0; step < 40 && buttons.size() < 7; ++step) {
        widget = widget->nextInFocusChain();
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            buttons << button->text();
        }
    }
    QCOMPARE(buttons, (QStringList{"10", "100", "1,000", "10,000", "Exit", "Init", "50,000"}));
}

void Form1Test::fontsAndFormula()
{
    Form1 form;
    // The face that stands in must have the full-width characters, not leave them to fallbacks.
    for (QWidget* control : form.findChildren<QWidget*>(QRegularExpression("^(Label|Command)"))) {
        const QRawFont face = QRawFont::fromFont(control->font());
        for (const char32_t character : {U'＝', U'（', U'）', U'÷'}) {
            QVERIFY2(face.supportsCharacter(character),
                     qPrintable(control->objectName() + ": " + face.familyName()));
        }
    }
    QLabel* credit = Control<QLabel>(form, "Label6");
    QVERIFY(QFontMetrics(credit->font()).horizontalAdvance(credit->text()) <= credit->width());

    // The formula reads as a fraction: two lines, the second starting with the division sign.
    QLabel* formula = Control<QLabel>(form, "Label7");
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

void Form1Test::runSizes_data()
{
    QTest::addColumn<int>("needles");
    QTest::newRow("Command1") << 10;
    QTest::newRow("Command2") << 100;
    QTest::newRow("Command3") << 1000;
    QTest::newRow("Command4") << 10000;
    QTest::newRow("Command7") << 50000;
}

void Form1Test::runSizes()
{
    QFETCH(int, needles);
    Form1 form;
    ShowAndActivate(form);
    Click(form, QTest::currentDataTag());

    const QImage board = Shown(form);
    QCOMPARE(board, QImage(reinterpret_cast<const uchar*>(form.board().Data()), 523, 411,
                           QImage::Format_RGB32));
    QCOMPARE(CountPixels(board,
                         [](int x, int, QColor c) {
                             return !QList<QColor>{kWhite, kRed, kGreen, kBlue}.contains(c) ||
                                    (x >= 480 && c != kWhite);
                         }),
             0);
    QVERIFY(LinesOnlyIn(board, {kRed, kGreen, kBlue}));
    QVERIFY(needles > 1000 || CountColour(board, kRed) > 0);

    bool isNumber = false;
    const int count = Text(form, "Label4").toInt(&isNumber);
    QVERIFY(isNumber);
    QCOMPARE(Text(form, "Label2"),
             count ? QString::fromStdString(NumberText(double(needles) / count)) : QString());
    // Far from the rate of the hit rule, the count would point at a fault.
    QVERIFY(needles < 1000 || qAbs(double(count) / needles - 0.32) < 0.05);
}

void Form1Test::startAndReset()
{
    Form1 form;
    ShowAndActivate(form);
    const auto blank = [&] {
        return FreshlyRuled(Shown(form), kBlack) && Text(form, "Label2").isEmpty() &&
               Text(form, "Label4").isEmpty();
    };
    QVERIFY(blank());
    Click(form, "Command3");
    QVERIFY(!blank());
    Click(form, "Command6");
    QVERIFY(blank());
    Click(form, "Command6");
    QVERIFY(blank());
}

void Form1Test::activation()
{
    Form1 form;
    ShowAndActivate(form);
    Click(form, "Command2");
    const QString count = Text(form, "Label4");

    // Another program takes the focus and gives it back: the run's lines stay red.
    auto* watcher = form.findChild<ActivationWatcher*>();
    watcher->focusWindowChanged(nullptr);
    watcher->focusWindowChanged(form.windowHandle());
    QVERIFY(LinesOnlyIn(Shown(form), {kRed, kGreen, kBlue}));

    // Back from another window of the program: ruled in black over the needles.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    watcher->focusWindowChanged(nullptr);  // as X11 does between two windows
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(LinesOnlyIn(Shown(form), {kBlack}));
    QVERIFY(CountColour(Shown(form), kGreen) > 0);
    QCOMPARE(Text(form, "Label4"), count);
}

void Form1Test::keyboard()
{
    Form1 form;
    ShowAndActivate(form);
    QCOMPARE(QApplication::focusWidget(), Control(form, "Picture1"));
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    QCOMPARE(Text(form, "Label4"), QString());

    const auto press = [&](const char* button, Qt::Key key) {
        auto* control = Control<QPushButton>(form, button);
        control->setFocus();
        QTest::keyClick(control, key);
        return !Text(form, "Label4").isEmpty();
    };
    QVERIFY(press("Command1", Qt::Key_Return));
    QVERIFY(!press("Command6", Qt::Key_Enter));
    QVERIFY(press("Command1", Qt::Key_Space));
    QVERIFY(!press("Command6", Qt::Key_Space));
}

void Form1Test::clicksDuringARunAreHandledAfterIt()
{
    RecordingDevice device;
    Form1 form(&device);
    ShowAndActivate(form);
    QPushButton* init = Control<QPushButton>(form, "Command6");
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
    Click(form, "Command7");
    device.onCommand = nullptr;
    QVERIFY(!Text(form, "Label4").isEmpty());  // the run ended undisturbed
    QTRY_COMPARE(Text(form, "Label4"), QString());
    QVERIFY(FreshlyRuled(Shown(form), kBlack));
}

void Form1Test::germanLocaleUsesADecimalComma()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form1 form;
    ShowAndActivate(form);
    Click(form, "Command3");
    const QString estimate = Text(form, "Label2");
    QLocale::setDefault(previous);
    const int count = Text(form, "Label4").toInt();
    QVERIFY2(!estimate.contains('.'), qPrintable(estimate));
    QVERIFY2(count == 0 || 1000 % count == 0 || estimate.contains(','), qPrintable(estimate));
}

void Form1Test::failingCueIsReportedOnce()
{
    RecordingDevice device;
    bool refuse = true;
    device.onCommand = [&refuse](const QString& command) {
        if (refuse && command == "Open") {
            throw DeviceError("The sound device is busy.");
        }
    };
    Form1 form(&device);
    ShowAndActivate(form);

    for (const char* button : {"Command1", "Command5"}) {
        device.puts.clear();
        QStringList reported;
        AnswerNextBox([&](QMessageBox* box) {
            reported << box->text();
            box->accept();
        });
        const QString err = StderrOf([&] {
            Click(form, button);
        });
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported.first().contains("The sound device is busy."));
        QCOMPARE(err.count("The sound device is busy."), 1);
        QCOMPARE(device.puts.size(), 4);  // stopped at Open: no Sound, no run, no exit box
        QVERIFY(form.isVisible());
        QVERIFY(FreshlyRuled(Shown(form), kBlack));
        QCOMPARE(Text(form, "Label4"), QString());
    }
    refuse = false;
    Click(form, "Command1");
    QVERIFY(!Text(form, "Label4").isEmpty());
}

void Form1Test::exitAsksAndCloses_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("OK button") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("close") << -1;
}

void Form1Test::exitAsksAndCloses()
{
    QFETCH(int, answer);
    RecordingDevice device;
    Form1 form(&device);
    ShowAndActivate(form);
    Click(form, "Command1");
    device.puts.clear();

    QStringList seen;
    AnswerNextBox([&](QMessageBox* box) {
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
    Click(form, "Command5");
    QCOMPARE(seen, (QStringList{"command Stop", "command Close", "file endpinpon.wav",
                                "command Open", "command Sound", "Scatter needles to find pi !",
                                "This software will exit.", "1",
                                QString::number(QMessageBox::NoIcon), "1"}));
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
