#include "window/main_window.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

#include "assets/resources.h"
#include "experiment/experiment_run.h"
#include "sound/multimedia_control.h"
#include "sound/device_control.h"
#include "window/activation_watcher.h"
#include "window/board_view.h"
#include "window/control_table.h"

namespace buffon {
namespace {

constexpr const char* kExitCue = "endpinpon.wav";

// The button face; the emblem's ground has the same grey.
const QColor kButtonFace(240, 240, 240);

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A push button that also clicks on Enter while it has the focus, as Space does. Qt only does
// that for buttons inside dialogs.
class CommandButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            QPushButton::keyPressEvent(event);
            return;
        }
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
    }
};

class LabelCaption final : public Caption {
public:
    explicit LabelCaption(QLabel& label) : label_(label) {}

    void setText(const std::string& text) override { label_.setText(QString::fromStdString(text)); }

private:
    QLabel& label_;
};

QLabel* makeLabel(const ControlSpec& spec, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text(spec.text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

}  // namespace

MainWindow::MainWindow(DeviceControl* device, QWidget* parent) : QWidget(parent), device_(device)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(text(kWindowCaption));
    setWindowIcon(programIcon());
    setFixedSize(kClientWidth, kClientHeight);
    QPalette face = palette();
    face.setColor(QPalette::Window, kButtonFace);
    setPalette(face);
    setAutoFillBackground(true);

    createControls();
    cue_ = std::make_unique<DeviceCuePlayer>(*device_);
    estimateCaption_ = std::make_unique<LabelCaption>(*estimateLabel_);
    countCaption_ = std::make_unique<LabelCaption>(*countLabel_);
    activation_ = new ActivationWatcher(this);
    connectEvents();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    for (const ControlSpec& spec : controlTable()) {
        switch (spec.role) {
        case ControlRole::Caption:
            placeControl(makeLabel(spec, this), spec);
            break;
        case ControlRole::EstimateLabel:
            placeControl(estimateLabel_ = makeLabel(spec, this), spec);
            break;
        case ControlRole::CountLabel:
            placeControl(countLabel_ = makeLabel(spec, this), spec);
            break;
        case ControlRole::Board:
            boardView_ = new BoardView(this);
            // Holding the focus at start, the board leaves every button unfocused, so Enter
            // starts nothing until a button is chosen.
            boardView_->setFocusPolicy(Qt::StrongFocus);
            placeControl(boardView_, spec);
            break;
        case ControlRole::Emblem: {
            auto* emblem = new QLabel(this);
            emblem->setPixmap(QPixmap(emblemResource()));
            placeControl(emblem, spec);
            break;
        }
        case ControlRole::Device:
            if (!device_) {
                auto* control = new MultimediaControl(this);
                control->setObjectName(text(spec.objectName));
                device_ = control;
            }
            break;
        case ControlRole::RunButton: {
            auto* button = new CommandButton(text(spec.text), this);
            runButtons_.emplace_back(button, &kRunSizes.at(static_cast<std::size_t>(spec.runSize)));
            placeControl(button, spec);
            break;
        }
        case ControlRole::InitButton:
            placeControl(initButton_ = new CommandButton(text(spec.text), this), spec);
            break;
        case ControlRole::ExitButton:
            placeControl(exitButton_ = new CommandButton(text(spec.text), this), spec);
            break;
        }
    }
}

void MainWindow::placeControl(QWidget* control, const ControlSpec& spec)
{
    control->setObjectName(text(spec.objectName));
    control->setGeometry(spec.geometry);
    if (spec.fontPixelSize > 0) {
        control->setFont(windowFont(spec.fontPixelSize, spec.bold));
    }
    if (control->focusPolicy() != Qt::NoFocus) {
        if (previousInTabOrder_) {
            setTabOrder(previousInTabOrder_, control);
        }
        previousInTabOrder_ = control;
    }
}

void MainWindow::connectEvents()
{
    for (const auto& [button, size] : runButtons_) {
        connect(button, &QPushButton::clicked, this, [this, size = size] {
            startRun(*size);
        });
    }
    connect(initButton_, &QPushButton::clicked, this, &MainWindow::resetBoard);
    connect(exitButton_, &QPushButton::clicked, this, &MainWindow::exitProgram);
    activation_->watch(this);
    connect(activation_, &ActivationWatcher::activated, this, &MainWindow::ruleOnActivation);
}

template <typename Step>
void MainWindow::guarded(Step&& step)
{
    try {
        step();
    } catch (const std::exception& failure) {
        reportFailure(QString::fromUtf8(failure.what()));
    } catch (...) {
        reportFailure(tr("An unexpected failure occurred."));
    }
}

void MainWindow::reportFailure(const QString& what)
{
    std::fprintf(stderr, "buffon-needle: %s\n", qUtf8Printable(what));
    QMessageBox::warning(this, text(kBoxTitle), what);
}

void MainWindow::startRun(const RunSize& size)
{
    guarded([&] {
        RunContext context{*cue_,
                           *boardView_,
                           random_,
                           clock_,
                           *estimateCaption_,
                           *countCaption_,
                           QLocale().decimalPoint().toStdString()};
        runExperiment(size, context);
    });
}

void MainWindow::resetBoard()
{
    guarded([&] {
        boardView_->clear();
        estimateLabel_->clear();
        countLabel_->clear();
        ruleBoard(*boardView_, PaletteIndex::Black);
    });
}

void MainWindow::exitProgram()
{
    guarded([&] {
        playCue(*device_, text(kExitCue));
        QMessageBox box(QMessageBox::NoIcon, text(kBoxTitle), text(kExitPrompt), QMessageBox::Ok,
                        this);
        box.setObjectName(QStringLiteral("ExitBox"));
        // A plain OK: some styles put an icon on dialog buttons.
        box.button(QMessageBox::Ok)->setIcon(QIcon());
        // A box with the single OK button answers OK however it is dismissed.
        box.exec();
        close();
    });
}

void MainWindow::ruleOnActivation()
{
    guarded([&] {
        ruleBoard(*boardView_, PaletteIndex::Black);
    });
}

}  // namespace buffon
