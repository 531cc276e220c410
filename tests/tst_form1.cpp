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
#include <QWindow>
#include <cstdio>
#include <functional>

#include "activation_watcher.h"
#include "form1.h"
#include "number_text.h"
#include "recording_device.h"

using namespace buffon;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
constexpr int kRuledRows[] = {80, 160, 240, 320, 400};

const QString kFormula = QString::fromUtf8("pi = （Total number of thrown needles）") +
                         QString(62, ' ') +
                         QString::fromUtf8("÷ (Number of needles intersecting parallel lines)");

template <typename T = QWidget>
T* Control(const Form1& form, const char* name)
{
    T* control = form.findChild<T*>(QString::fromLatin1(name));
    if (!control) {
        qFatal("no control %s", name);
    }
    return control;
}

QString Text(const Form1& form, const char* label)
{
    return Control<QLabel>(form, label)->text();
}

// What the board shows on screen: the inside of its sunken edge.
QImage ShownBoard(const Form1& form)
{
    QWidget* board = Control(form, "Picture1");
    return board->grab().toImage().copy(2, 2, 523, 411).convertToFormat(QImage::Format_RGB32);
}

bool IsRuledRow(int y)
{
    return std::find(std::begin(kRuledRows), std::end(kRuledRows), y) != std::end(kRuledRows);
}

// White with the five lines in the given colour, and nothing else.
bool IsFreshlyRuled(const QImage& board, const QColor& line)
{
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            const bool onLine = IsRuledRow(y) && x < 480;
            if (board.pixelColor(x, y) != (onLine ? line : kWhite)) {
                qWarning("unexpected colour at %d, %d", x, y);
                return false;
            }
        }
    }
    return true;
}

int CountColour(const QImage& board, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            count += board.pixelColor(x, y) == colour;
        }
    }
    return count;
}

// Whether every pixel of the ruled rows is in one of these colours.
bool RuledRowsOnlyIn(const QImage& board, const QList<QColor>& colours)
{
    for (const int y : kRuledRows) {
        for (int x = 0; x < 480; ++x) {
            if (!colours.contains(board.pixelColor(x, y))) {
                return false;
            }
        }
    }
    return true;
}

void ShowAndActivate(Form1& form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

// Calls `answer` with the next modal box as soon as it is shown.
void AnswerNextBox(std::function<void(QMessageBox*)> answer)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(box);
        }
    });
    timer->start(10);
}

// Collects what is written to stderr while it lives.
class StderrCapture {
public:
    StderrCapture()
    {
        file_.open();
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    QString text()
    {
        restore();
        file_.seek(0);
        return QString::fromUtf8(file_.readAll());
    }

private:
    void restore()
    {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, STDERR_FILENO);
            close(saved_);
            saved_ = -1;
        }
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, int& paints) : paints_(paints)
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints_ += event->type() == QEvent::Paint;
        return false;
    }

private:
    int& paints_;
};

QStringList CuePuts(const QString& name)
{
    return {"command Stop", "command Close", "file " + name, "command Open", "command Sound"};
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowFrame();
    void layout_data();
    void layout();
    void stackingAndTabOrder();
    void fontHasTheFullWidthCharacters();
    void formulaReadsAsAFraction();
    void textsFitTheirBoxes_data();
    void textsFitTheirBoxes();
    void startsWithBlackLinesAndEmptyResults();
    void runSizes_data();
    void runSizes();
    void boardShowsThePixelBoard();
    void everyChangeReachesTheScreen();
    void resetBoard();
    void activationFromOwnWindowRulesInBlack();
    void activationFromAnotherProgramLeavesTheBoard();
    void keyboard();
    void clicksDuringARunAreHandledAfterIt();
    void germanLocaleUsesADecimalComma();
    void failingCueIsReportedOnce();
    void exitAsksAndCloses_data();
    void exitAsksAndCloses();
};

void Form1Test::initTestCase()
{
    // The tests close windows on purpose; the test itself goes on.
    QApplication::setQuitOnLastWindowClosed(false);
}

void Form1Test::windowFrame()
{
    Form1 form;
    QCOMPARE(form.windowTitle(), QString("Scatter needles to find an approximate value of pi !"));
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
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");

    const auto row = [](const char* name, QRect twips, QString text, double points, bool bold) {
        QTest::newRow(name) << QString(name) << twips << text << points << bold;
    };
    row("Label5", {360, 120, 7695, 375},
        "Needles that intersect parallel lines are displayed in blue.", 11.25, true);
    row("Label7", {360, 360, 7695, 495}, kFormula, 11.25, true);
    row("Picture1", {360, 1080, 7900, 6225}, {}, 0, false);
    row("Command1", {360, 7440, 988, 615}, "10", 12, true);
    row("Command2", {1560, 7440, 1086, 615}, "100", 12, true);
    row("Command3", {2760, 7440, 1185, 615}, "1,000", 12, true);
    row("Command4", {4080, 7440, 1284, 615}, "10,000", 12, true);
    row("Command7", {5520, 7440, 1284, 615}, "50,000", 12, true);
    row("Command6", {6960, 7440, 1284, 615}, "Init", 12, true);
    row("Label3", {120, 8280, 5535, 255},
        QString::fromUtf8("Number of needles intersecting parallel lines ＝"), 12, true);
    row("Label4", {5640, 8280, 1575, 255}, "", 12, true);
    row("Label1", {3480, 8640, 975, 375}, QString::fromUtf8("pi ＝"), 14.25, true);
    row("Label2", {4200, 8640, 3135, 375}, "", 14.25, true);
    row("Command5", {960, 8760, 1095, 495}, "Exit", 14.25, true);
    row("Picture2", {7440, 8760, 630, 615}, {}, 0, false);
    row("Label6", {4680, 9000, 2775, 255}, QString(), 11.25, false);
}

void Form1Test::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    QFETCH(double, points);
    QFETCH(bool, bold);
    Form1 form;
    QWidget* control = form.findChild<QWidget*>(name);
    QVERIFY(control);
    const QRect pixels(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                       qRound(twips.width() / 15.0), qRound(twips.height() / 15.0));
    QCOMPARE(control->geometry(), pixels);
    QVERIFY(control->isVisibleTo(&form));
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
    } else if (auto* label = qobject_cast<QLabel*>(control); label && !text.isNull()) {
        QCOMPARE(label->text(), text);
    }
    if (points > 0) {
        QCOMPARE(control->font().pixelSize(), qRound(points * 96 / 72));
        QCOMPARE(control->font().bold(), bold);
        QVERIFY(!control->font().italic() && !control->font().underline());
    }
    if (auto* label = qobject_cast<QLabel*>(control); label && name.startsWith("Label")) {
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QVERIFY(label->wordWrap());
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }
}

void Form1Test::stackingAndTabOrder()
{
    Form1 form;
    const QObjectList stack = form.children();  // back to front
    const auto depth = [&](const char* name) {
        return stack.indexOf(Control(form, name));
    };
    const char* labelsFrontToBack[] = {"Label7", "Label6", "Label5", "Label4",
                                       "Label3", "Label2", "Label1"};
    for (int i = 1; i < 7; ++i) {
        QVERIFY2(depth(labelsFrontToBack[i - 1]) > depth(labelsFrontToBack[i]),
                 labelsFrontToBack[i]);
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

void Form1Test::fontHasTheFullWidthCharacters()
{
    Form1 form;
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (!control->objectName().startsWith("Label") &&
            !control->objectName().startsWith("Command")) {
            continue;
        }
        const QRawFont face = QRawFont::fromFont(control->font());
        QVERIFY2(face.isValid(), qPrintable(control->objectName()));
        for (const char32_t character : {U'＝', U'（', U'）', U'÷'}) {
            QVERIFY2(face.supportsCharacter(character),
                     qPrintable(control->objectName() + ": " + face.familyName()));
        }
    }
}

void Form1Test::formulaReadsAsAFraction()
{
    Form1 form;
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
        line.setLineWidth(formula->contentsRect().width());
        line.setPosition(QPointF(0, top));
        lines << formula->text().mid(line.textStart(), line.textLength());
        inkBottom = top + line.ascent() + line.descent();
        top += line.height();
    }
    layout.endLayout();
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].trimmed().endsWith(QString::fromUtf8("）")), qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith(QString::fromUtf8("÷")), qPrintable(lines[1]));
    // Both lines show whole, descenders included, to the nearest pixel.
    QVERIFY(qRound(inkBottom) <= formula->height());
}

void Form1Test::textsFitTheirBoxes_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("credit line") << "Label6" << QString();
    QTest::newRow("longest estimate") << "Label2"
                                      << "-71.4285714285714";
    QTest::newRow("fifteen digits") << "Label2"
                                    << "3.14465408805031";
    QTest::newRow("largest count") << "Label4"
                                   << "49300";
    QTest::newRow("smallest count") << "Label4"
                                    << "-700";
    QTest::newRow("count caption")
        << "Label3" << QString::fromUtf8("Number of needles intersecting parallel lines ＝");
    QTest::newRow("legend") << "Label5"
                            << "Needles that intersect parallel lines are displayed in blue.";
}

void Form1Test::textsFitTheirBoxes()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    Form1 form;
    QLabel* box = Control<QLabel>(form, qPrintable(label));
    if (text.isNull()) {
        text = box->text();
    }
    QVERIFY(!text.isEmpty());
    const QFontMetrics metrics(box->font());
    QVERIFY2(metrics.horizontalAdvance(text) <= box->width(), qPrintable(text));
    QVERIFY(metrics.height() <= box->height());
}

void Form1Test::startsWithBlackLinesAndEmptyResults()
{
    Form1 form;
    ShowAndActivate(form);
    QVERIFY(IsFreshlyRuled(ShownBoard(form), kBlack));
    QCOMPARE(Text(form, "Label2"), QString());
    QCOMPARE(Text(form, "Label4"), QString());
}

void Form1Test::runSizes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("needles");
    QTest::newRow("10") << "Command1" << 10;
    QTest::newRow("100") << "Command2" << 100;
    QTest::newRow("1,000") << "Command3" << 1000;
    QTest::newRow("10,000") << "Command4" << 10000;
    QTest::newRow("50,000") << "Command7" << 50000;
}

void Form1Test::runSizes()
{
    QFETCH(QString, button);
    QFETCH(int, needles);
    Form1 form;
    ShowAndActivate(form);
    QTest::mouseClick(Control<QPushButton>(form, qPrintable(button)), Qt::LeftButton);

    const QImage board = ShownBoard(form);
    const QList<QColor> palette{kWhite, kRed, kGreen, kBlue};
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            const QColor colour = board.pixelColor(x, y);
            QVERIFY2(palette.contains(colour), qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            if (x >= 480) {
                QCOMPARE(colour, kWhite);
            }
        }
    }
    QVERIFY(RuledRowsOnlyIn(board, {kRed, kGreen, kBlue}));
    if (needles <= 1000) {
        QVERIFY(CountColour(board, kRed) > 0);
    }
    QVERIFY(CountColour(board, kGreen) > 0);

    bool isNumber = false;
    const int count = Text(form, "Label4").toInt(&isNumber);
    QVERIFY(isNumber);
    const QString estimate =
        count == 0 ? QString() : QString::fromStdString(NumberText(double(needles) / count));
    QCOMPARE(Text(form, "Label2"), estimate);
    if (needles >= 1000) {
        // Far from the rate of the hit rule, the count would point at a fault.
        QVERIFY(qAbs(double(count) / needles - 0.32) < 0.05);
    }
}

void Form1Test::boardShowsThePixelBoard()
{
    Form1 form;
    ShowAndActivate(form);
    QTest::mouseClick(Control<QPushButton>(form, "Command4"), Qt::LeftButton);
    const QImage shown = ShownBoard(form);
    const QImage stored(reinterpret_cast<const uchar*>(form.board().Data()), 523, 411,
                        QImage::Format_RGB32);
    QCOMPARE(shown, stored);
    // The sunken edge is drawn around the board, not on it.
    const QImage whole = Control(form, "Picture1")->grab().toImage();
    QVERIFY(whole.pixelColor(0, 200) != kWhite);
}

void Form1Test::everyChangeReachesTheScreen()
{
    Form1 form;
    ShowAndActivate(form);
    QWidget* board = Control(form, "Picture1");
    int paints = 0;
    PaintCounter counter(board, paints);
    for (const char* button : {"Command1", "Command2", "Command1", "Command6", "Command1"}) {
        QCoreApplication::processEvents();
        paints = 0;
        QTest::mouseClick(Control<QPushButton>(form, button), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY2(paints > 0, button);
    }
}

void Form1Test::resetBoard()
{
    Form1 form;
    ShowAndActivate(form);
    QMap<QString, QString> fixed;
    for (const char* name : {"Label1", "Label3", "Label5", "Label6", "Label7"}) {
        fixed[name] = Text(form, name);
    }
    QTest::mouseClick(Control<QPushButton>(form, "Command3"), Qt::LeftButton);
    QVERIFY(!Text(form, "Label4").isEmpty());
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(Control<QPushButton>(form, "Command6"), Qt::LeftButton);
        QVERIFY(IsFreshlyRuled(ShownBoard(form), kBlack));
        QCOMPARE(Text(form, "Label2"), QString());
        QCOMPARE(Text(form, "Label4"), QString());
    }
    for (auto it = fixed.cbegin(); it != fixed.cend(); ++it) {
        QCOMPARE(Text(form, qPrintable(it.key())), it.value());
    }
}

void Form1Test::activationFromOwnWindowRulesInBlack()
{
    Form1 form;
    ShowAndActivate(form);
    QTest::mouseClick(Control<QPushButton>(form, "Command2"), Qt::LeftButton);
    const QString count = Text(form, "Label4");
    QVERIFY(RuledRowsOnlyIn(ShownBoard(form), {kRed, kGreen, kBlue}));

    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    const QImage board = ShownBoard(form);
    QVERIFY(RuledRowsOnlyIn(board, {kBlack}));
    QVERIFY(CountColour(board, kGreen) > 0);  // the needles stay
    QCOMPARE(Text(form, "Label4"), count);
}

void Form1Test::activationFromAnotherProgramLeavesTheBoard()
{
    Form1 form;
    ShowAndActivate(form);
    QTest::mouseClick(Control<QPushButton>(form, "Command2"), Qt::LeftButton);
    auto* watcher = form.findChild<ActivationWatcher*>();
    QVERIFY(watcher);
    // Another program takes the focus, then gives it back.
    watcher->focusWindowChanged(nullptr);
    watcher->focusWindowChanged(form.windowHandle());
    QVERIFY(RuledRowsOnlyIn(ShownBoard(form), {kRed, kGreen, kBlue}));
}

void Form1Test::keyboard()
{
    Form1 form;
    ShowAndActivate(form);
    QWidget* board = Control(form, "Picture1");
    QCOMPARE(QApplication::focusWidget(), board);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    QCOMPARE(Text(form, "Label4"), QString());

    auto* ten = Control<QPushButton>(form, "Command1");
    auto* init = Control<QPushButton>(form, "Command6");
    ten->setFocus();
    QTest::keyClick(ten, Qt::Key_Return);
    QVERIFY(!Text(form, "Label4").isEmpty());
    init->setFocus();
    QTest::keyClick(init, Qt::Key_Enter);
    QCOMPARE(Text(form, "Label4"), QString());
    ten->setFocus();
    QTest::keyClick(ten, Qt::Key_Space);
    QVERIFY(!Text(form, "Label4").isEmpty());
    QTest::keyClick(ten, Qt::Key_Escape);
    init->setFocus();
    QTest::keyClick(init, Qt::Key_Space);
    QCOMPARE(Text(form, "Label4"), QString());
}

void Form1Test::clicksDuringARunAreHandledAfterIt()
{
    RecordingDevice device;
    Form1 form(&device);
    ShowAndActivate(form);
    QPushButton* init = Control<QPushButton>(form, "Command6");
    device.onCommand = [init](const QString& command) {
        if (command == "Sound") {
            // A click on Init arrives while the run is going.
            const QPointF centre = QRectF(init->rect()).center();
            for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QCoreApplication::postEvent(
                    init, new QMouseEvent(
                              type, centre, init->mapToGlobal(centre), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier));
            }
        }
    };
    QTest::mouseClick(Control<QPushButton>(form, "Command7"), Qt::LeftButton);
    device.onCommand = nullptr;
    QVERIFY(!Text(form, "Label4").isEmpty());  // the run ended undisturbed
    QTRY_COMPARE(Text(form, "Label4"), QString());
    QVERIFY(IsFreshlyRuled(ShownBoard(form), kBlack));
}

void Form1Test::germanLocaleUsesADecimalComma()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form1 form;
    ShowAndActivate(form);
    for (int run = 0; run < 3; ++run) {
        QTest::mouseClick(Control<QPushButton>(form, "Command3"), Qt::LeftButton);
        const QString estimate = Text(form, "Label2");
        QVERIFY2(!estimate.contains('.'), qPrintable(estimate));
        const int count = Text(form, "Label4").toInt();
        if (count != 0 && 1000 % count != 0) {
            QVERIFY2(estimate.contains(','), qPrintable(estimate));
        }
    }
    QLocale::setDefault(previous);
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
        int boxes = 0;
        QString reported;
        AnswerNextBox([&](QMessageBox* box) {
            ++boxes;
            reported = box->text();
            box->accept();
        });
        StderrCapture err;
        QTest::mouseClick(Control<QPushButton>(form, button), Qt::LeftButton);
        QTRY_COMPARE(boxes, 1);
        QVERIFY(reported.contains("The sound device is busy."));
        QCOMPARE(err.text().count("The sound device is busy."), 1);
        QCOMPARE(device.puts.size(), 4);  // stopped at Open: no Sound, no run, no exit box
        QVERIFY(form.isVisible());
        QVERIFY(RuledRowsOnlyIn(ShownBoard(form), {kBlack}));
        QCOMPARE(CountColour(ShownBoard(form), kGreen), 0);
        QCOMPARE(Text(form, "Label4"), QString());
    }

    refuse = false;
    QTest::mouseClick(Control<QPushButton>(form, "Command1"), Qt::LeftButton);
    QVERIFY(!Text(form, "Label4").isEmpty());
}

void Form1Test::exitAsksAndCloses_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("Return") << "return";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close") << "close";
}

void Form1Test::exitAsksAndCloses()
{
    QFETCH(QString, answer);
    RecordingDevice device;
    Form1 form(&device);
    ShowAndActivate(form);
    QTest::mouseClick(Control<QPushButton>(form, "Command1"), Qt::LeftButton);
    device.puts.clear();

    QStringList putsBeforeBox;
    QString title, text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::Critical;
    bool buttonIcon = true;
    AnswerNextBox([&](QMessageBox* box) {
        putsBeforeBox = device.puts;
        title = box->windowTitle();
        text = box->text();
        buttons = box->buttons().size();
        icon = box->icon();
        buttonIcon = !box->button(QMessageBox::Ok)->icon().isNull();
        if (answer == "ok") {
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        } else if (answer == "return") {
            QTest::keyClick(box, Qt::Key_Return);
        } else if (answer == "escape") {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->close();
        }
    });
    QTest::mouseClick(Control<QPushButton>(form, "Command5"), Qt::LeftButton);

    QCOMPARE(putsBeforeBox, CuePuts("endpinpon.wav"));
    QCOMPARE(title, QString("Scatter needles to find pi !"));
    QCOMPARE(text, QString("This software will exit."));
    QCOMPARE(buttons, 1);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QVERIFY(!buttonIcon);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
