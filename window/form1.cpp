#include "form1.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

#include "activation_watcher.h"
#include "board_view.h"
#include "command_button.h"
#include "control_layout.h"
#include "multimedia_control.h"
#include "resources.h"
#include "screen_board.h"
#include "window_font.h"

namespace buffon {
namespace {

// The button face; the emblem's ground has the same grey.
const QColor kButtonFace(240, 240, 240);

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QLabel* MakeLabel(const ControlLayout& layout, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(Text(layout.text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

}  // namespace

Form1::Form1(DeviceControl* device, QWidget* parent) : QWidget(parent), device_(device)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Text(kWindowCaption));
    setWindowIcon(ProgramIcon());
    setFixedSize(kClientWidth, kClientHeight);
    QPalette face = palette();
    face.setColor(QPalette::Window, kButtonFace);
    setPalette(face);
    setAutoFillBackground(true);

    if (!device_) {
        auto* control = new MultimediaControl(this);
        control->setObjectName(QStringLiteral("MMControl1"));
        device_ = control;
    }
    cue_ = std::make_unique<DeviceCuePlayer>(*device_);

    createControls();
    screen_ = std::make_unique<ScreenBoard>(pixels_, *picture1_);
    estimateCaption_ = std::make_unique<LabelCaption>(*label2_);
    countCaption_ = std::make_unique<LabelCaption>(*label4_);
    activation_ = new ActivationWatcher(this);
    connectEvents();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    QWidget* previousInTabOrder = nullptr;
    for (const ControlLayout& layout : kControls) {
        QWidget* control = nullptr;
        switch (layout.kind) {
        case ControlKind::Label:
            control = MakeLabel(layout, this);
            break;
        case ControlKind::Button:
            control = new CommandButton(Text(layout.text), this);
            break;
        case ControlKind::Picture:
            if (QLatin1String(layout.name) == QLatin1String("Picture1")) {
                picture1_ = new BoardView(pixels_, this);
                // Holding the focus at start, the board leaves every button unfocused, so
                // Enter starts nothing until a button is chosen.
                picture1_->setFocusPolicy(Qt::StrongFocus);
                control = picture1_;
            } else {
                auto* emblem = new QLabel(this);
                emblem->setPixmap(QPixmap(EmblemResource()));
                control = emblem;
            }
            break;
        case ControlKind::Device:
            continue;  // not a widget; it never shows
        }
        control->setObjectName(Text(layout.name));
        control->setGeometry(layout.geometry);
        if (layout.fontPixelSize > 0) {
            control->setFont(WindowFont(layout.fontPixelSize, layout.bold));
        }
        if (control->focusPolicy() != Qt::NoFocus) {
            if (previousInTabOrder) {
                setTabOrder(previousInTabOrder, control);
            }
            previousInTabOrder = control;
        }
    }
    label2_ = findChild<QLabel*>(QStringLiteral("Label2"));
    label4_ = findChild<QLabel*>(QStringLiteral("Label4"));
}

void Form1::connectEvents()
{
    for (const RunSize& size : kRunSizes) {
        auto* button =
            findChild<CommandButton*>(QString::fromUtf8(size.button.data(), size.button.size()));
        connect(button, &QPushButton::clicked, this, [this, &size] {
            RunExperiment(size);
        });
    }
    connect(findChild<CommandButton*>(QStringLiteral("Command6")), &QPushButton::clicked, this,
            &Form1::ResetBoard);
    connect(findChild<CommandButton*>(QStringLiteral("Command5")), &QPushButton::clicked, this,
            &Form1::ExitProgram);
    activation_->watch(this);
    connect(activation_, &ActivationWatcher::activated, this, &Form1::RuleOnActivation);
}

template <typename Step>
void Form1::guarded(Step&& step)
{
    try {
        step();
    } catch (const std::exception& failure) {
        reportFailure(QString::fromUtf8(failure.what()));
    } catch (...) {
        reportFailure(tr("An unexpected failure occurred."));
    }
}

void Form1::reportFailure(const QString& what)
{
    std::fprintf(stderr, "buffon-needle: %s\n", qUtf8Printable(what));
    QMessageBox::warning(this, Text(kBoxTitle), what);
}

void Form1::RunExperiment(const RunSize& size)
{
    guarded([&] {
        RunContext context{*cue_,
                           *screen_,
                           random_,
                           clock_,
                           *estimateCaption_,
                           *countCaption_,
                           QLocale().decimalPoint().toStdString()};
        buffon::RunExperiment(size, context);
    });
}

void Form1::ResetBoard()
{
    guarded([&] {
        ClearBoard(*screen_);
        label2_->clear();
        label4_->clear();
        RuleBoard(*screen_, PaletteIndex::Black);
    });
}

void Form1::ExitProgram()
{
    guarded([&] {
        PlayCue(*device_, Text(kExitCue));
        QMessageBox box(QMessageBox::NoIcon, Text(kBoxTitle), Text(kExitPrompt), QMessageBox::Ok,
                        this);
        box.setObjectName(QStringLiteral("ExitBox"));
        // A plain OK: some styles put an icon on dialog buttons.
        box.button(QMessageBox::Ok)->setIcon(QIcon());
        // A box with the single OK button answers OK however it is dismissed.
        box.exec();
        close();
    });
}

void Form1::RuleOnActivation()
{
    guarded([&] {
        RuleBoard(*screen_, PaletteIndex::Black);
    });
}

}  // namespace buffon
