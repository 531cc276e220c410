// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/main_window.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>

#include "assets/resources.h"
#include "design/window_texts.h"
#include "experiment/experiment_run.h"
#include "experiment/stepped_run.h"
#include "sound/device_control.h"
#include "sound/multimedia_control.h"
#include "stats/rules/needle_sources.h"
#include "window/activation_watcher.h"
#include "window/board_view.h"
#include "window/control_table.h"
#include "window/destroyed_window_watcher.h"
#include "window/mode_menu.h"
#include "window/run_announcer.h"
#include "window/vector_state.h"

Q_LOGGING_CATEGORY(lcRuns, "buffon.runs", QtWarningMsg)

namespace buffon {
namespace {

// How often needles that fall at a pace are drawn: as many as the pace owes by then.
constexpr int kPaceMilliseconds = 20;

// The window keeps its own light face and dark text whatever theme the desktop uses, so that
// its labels stay readable and the board's colours keep their meaning: a complete palette,
// every role and every colour group. The emblem's ground has the same grey as the face.
QPalette windowPalette()
{
    const QColor face(240, 240, 240);
    QPalette palette(Qt::black, face, Qt::white, QColor(160, 160, 160), QColor(160, 160, 160),
                     Qt::black, Qt::white);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Midlight, QColor(227, 227, 227));
    palette.setColor(QPalette::Shadow, QColor(105, 105, 105));
    palette.setColor(QPalette::Highlight, QColor(0, 120, 215));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(245, 245, 245));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(110, 110, 110));
    palette.setColor(QPalette::Link, QColor(0, 0, 238));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return palette;
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

QLabel* makeLabel(const ControlDesign& entry, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(shownText(entry));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

// A box of the window's own. Boxes are windows of their own and take no palette from the
// window, so it is handed to them; and some desktop themes give OK an access key ("&OK").
void showBox(QWidget& window, QMessageBox::Icon icon, const char* objectName, const QString& prompt)
{
    QMessageBox box(icon, utf8Text(kBoxTitle), prompt, QMessageBox::Ok, &window);
    box.setObjectName(QString::fromLatin1(objectName));
    box.setPalette(window.palette());
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ok->setText(QStringLiteral("OK"));
    // A plain OK: some styles put an icon on dialog buttons.
    ok->setIcon(QIcon());
    box.exec();
}

}  // namespace

MainWindow::MainWindow(DeviceControl* device, QWidget* parent) : QWidget(parent), device_(device)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(utf8Text(kWindowCaption));
    setWindowIcon(programIcon());
    setFixedSize(kClientWidth, kClientHeight);
    setPalette(windowPalette());

    createControls();
    cue_ = std::make_unique<DeviceCuePlayer>(*device_);
    estimateText_ = std::make_unique<LabelCaption>(*estimateLabel_);
    countText_ = std::make_unique<LabelCaption>(*countLabel_);
    // Each result is read with its caption.
    estimateCaption_->setBuddy(estimateLabel_);
    countCaption_->setBuddy(countLabel_);
    announcer_ = new RunAnnouncer(this);
    context_ = std::make_unique<RunContext>(
        RunContext{*cue_, *boardView_, random_, clock_, *estimateText_, *countText_});
    run_ = std::make_unique<SteppedRun>(*context_);
    paceTimer_ = new QTimer(this);
    paceTimer_->setInterval(kPaceMilliseconds);
    modeMenu_ = new ModeMenu(this);
    setAccessibleDescription(utf8Text(kWindowDescription));
    activation_ = new ActivationWatcher(this);
    connectEvents();
    describeRunButtons();
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        destroyedWatcher_ = std::make_unique<DestroyedWindowWatcher>(this);
        QCoreApplication::instance()->installNativeEventFilter(destroyedWatcher_.get());
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!cuePreloaded_) {
        cuePreloaded_ = true;
        // Once the window is on screen, and not before: the first run's cue then costs no
        // more than any other's.
        QTimer::singleShot(0, this, [this] {
            device_->preload(QString::fromUtf8(kStartCue));
        });
    }
}

void MainWindow::createControls()
{
    for (const ControlDesign& entry : controlDesigns()) {
        switch (entry.role) {
        case ControlRole::Caption:
            placeControl(makeLabel(entry, this), entry);
            break;
        case ControlRole::EstimateCaption:
            placeControl(estimateCaption_ = makeLabel(entry, this), entry);
            break;
        case ControlRole::CountCaption:
            placeControl(countCaption_ = makeLabel(entry, this), entry);
            break;
        case ControlRole::EstimateLabel:
            placeControl(estimateLabel_ = makeLabel(entry, this), entry);
            break;
        case ControlRole::CountLabel:
            placeControl(countLabel_ = makeLabel(entry, this), entry);
            break;
        case ControlRole::Board:
            boardView_ = new BoardView(this);
            // Holding the focus at start, the board leaves every button unfocused, so Enter
            // starts nothing until a button is chosen.
            boardView_->setFocusPolicy(Qt::StrongFocus);
            placeControl(boardView_, entry);
            break;
        case ControlRole::Emblem:
            emblem_ = new QLabel(this);
            emblem_->setPixmap(QPixmap(emblemResource()));
            placeControl(emblem_, entry);
            break;
        case ControlRole::ModeLine:
            // Made once a mode is first on: until then the window has only its own controls,
            // for screen readers as on screen.
            modeLineDesign_ = &entry;
            break;
        case ControlRole::Device:
            if (!device_) {
                auto* control = new MultimediaControl(this);
                control->setObjectName(utf8Text(entry.objectName));
                device_ = control;
            }
            break;
        case ControlRole::RunButton: {
            const RunSize& size = *entry.runSize;
            auto* button = new CommandButton(shownText(entry), this);
            runButtons_.emplace_back(button, &size);
            button->setAccessibleName(utf8Text(runButtonName(size)));
            placeControl(button, entry);
            break;
        }
        case ControlRole::InitButton:
            placeControl(initButton_ = new CommandButton(shownText(entry), this), entry);
            break;
        case ControlRole::ExitButton:
            placeControl(exitButton_ = new CommandButton(shownText(entry), this), entry);
            break;
        }
    }
}

void MainWindow::placeControl(QWidget* control, const ControlDesign& entry)
{
    control->setObjectName(utf8Text(entry.objectName));
    control->setGeometry(controlGeometry(entry));
    placed_.emplace_back(control, &entry);
    if (entry.fontPixelSize > 0) {
        control->setFont(windowFont(entry.fontPixelSize, entry.bold));
    }
    if (entry.accessibleName) {
        control->setAccessibleName(utf8Text(entry.accessibleName));
    }
    if (entry.accessibleDescription) {
        control->setAccessibleDescription(utf8Text(entry.accessibleDescription));
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
    connect(paceTimer_, &QTimer::timeout, this, &MainWindow::fallAtPace);
    boardView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(boardView_, &QWidget::customContextMenuRequested, this, &MainWindow::openModeMenu);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &MainWindow::openModeMenu);
    }
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &MainWindow::stopRun);
    connect(modeMenu_, &ModeMenu::stopChosen, this, &MainWindow::stopRun);
    connect(modeMenu_, &ModeMenu::chosen, this, [this](ModeKind kind, double value) {
        setModes(withChoice(modes_, kind, value));
    });
}

template <typename Step>
bool MainWindow::guarded(Step&& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& failure) {
        reportFailure(QString::fromUtf8(failure.what()));
    } catch (...) {
        reportFailure(tr("An unexpected failure occurred."));
    }
    return false;
}

void MainWindow::reportFailure(const QString& what)
{
    std::fprintf(stderr, "buffon-needle: %s\n", qUtf8Printable(what));
    showBox(*this, QMessageBox::Warning, "FailureBox", what);
}

void MainWindow::startRun(const RunSize& size)
{
    // Each run can be followed with QT_LOGGING_RULES=buffon.runs.debug=true.
    QElapsedTimer clock;
    clock.start();
    const auto logRun = qScopeGuard([&] {
        qCDebug(lcRuns, "run of %d needles: %.2f ms", size.needles,
                static_cast<double>(clock.nsecsElapsed()) / 1e6);
    });
    paceTimer_->stop();
    const bool ran = guarded([&] {
        releaseWideVectorState();
        // A run still falling ends before its source gives way to the next run's.
        run_->stop();
        needles_ = boardNeedleSource(modes_, random_);
        context_->decimalSeparator = QLocale().decimalPoint().toStdString();
        showCountCaption(modes_.textbook);
        const int width = modes_.thickNeedles ? kThickNeedleWidth : 1;
        run_->start(size, *needles_, {modes_.reseed, modes_.addUp, width});
        modes_.reseed.reset();
        showModeLine();
        if (modes_.pace == 0) {
            run_->fall(size.needles);
            run_->finish();
        } else {
            // The first needle falls at once, the others as the pace owes them.
            keepFallingAt(modes_.pace, 1);
        }
    });
    if (ran && !run_->running()) {
        announceEnd();
    }
}

void MainWindow::fallAtPace()
{
    const bool fell = guarded([&] {
        const auto due =
            runPace_ == 0 ? run_->fallen() + run_->left()
                          : paceStart_ + sincePaceStart_.nsecsElapsed() * runPace_ / 1'000'000'000;
        run_->fall(due - run_->fallen());
        if (run_->left() == 0) {
            run_->finish();
        }
    });
    if (!fell || !run_->running()) {
        paceTimer_->stop();
    } else if (!paceTimer_->isActive()) {
        paceTimer_->start();
    }
    if (fell && !run_->running()) {
        announceEnd();
    }
}

// From now on, `fallen` needles down and the others at the pace.
void MainWindow::keepFallingAt(int pace, std::int64_t fallen)
{
    runPace_ = pace;
    paceStart_ = fallen;
    sincePaceStart_.start();
    fallAtPace();
}

void MainWindow::stopRun()
{
    if (!run_->running()) {
        return;
    }
    paceTimer_->stop();
    if (guarded([&] {
            run_->stop();
        })) {
        announceEnd();
    }
}

void MainWindow::announceEnd()
{
    const auto reseed = run_->reseedValue();
    announcer_->announce(utf8Text(runAnnouncement(
        countLabel_->text().toStdString(), estimateLabel_->text().toStdString(), modes_.textbook,
        modes_.showReseed && reseed ? reseedText(*reseed) : std::string())));
}

void MainWindow::setModes(const LessonModes& modes)
{
    if (endsFallingRun(modes_, modes)) {
        stopRun();
    }
    const bool resized = modes.scale != modes_.scale;
    const bool repaced = modes.pace != modes_.pace;
    modes_ = modes;
    if (resized) {
        applyScale();
    }
    if (repaced && run_->running()) {
        keepFallingAt(modes_.pace, run_->fallen());
    }
    describeRunButtons();
    showModeLine();
}

void MainWindow::describeRunButtons()
{
    for (const auto& [button, size] : runButtons_) {
        button->setAccessibleDescription(utf8Text(runButtonDescription(*size, modes_.textbook)));
    }
}

void MainWindow::applyScale()
{
    const double scale = modes_.scale;
    setFixedSize(qRound(kClientWidth * scale), qRound(kClientHeight * scale));
    for (const auto& [control, entry] : placed_) {
        control->setGeometry(controlGeometry(*entry, scale));
        if (entry->fontPixelSize > 0) {
            control->setFont(windowFont(qRound(entry->fontPixelSize * scale), entry->bold));
        }
    }
    emblem_->setScaledContents(scale != 1);
    boardView_->setScale(scale);
}

void MainWindow::showModeLine()
{
    const std::optional<float> reseed = modes_.showReseed ? run_->reseedValue() : std::nullopt;
    const QString line = utf8Text(modeLine(modes_, reseed));
    if (!modeLine_ && !line.isEmpty()) {
        placeControl(modeLine_ = makeLabel(*modeLineDesign_, this), *modeLineDesign_);
        modeLine_->setWordWrap(false);
        applyScale();
    }
    if (modeLine_) {
        modeLine_->setText(line);
        modeLine_->setVisible(!line.isEmpty());
    }
}

void MainWindow::showCountCaption(bool textbook)
{
    const auto& entries = controlDesigns();
    const auto designed = [&](ControlRole role) {
        return *std::find_if(entries.begin(), entries.end(), [role](const ControlDesign& entry) {
            return entry.role == role;
        });
    };
    countCaption_->setText(textbook ? utf8Text(kTextbookCountCaption)
                                    : shownText(designed(ControlRole::CountCaption)));
    countLabel_->setAccessibleDescription(
        utf8Text(textbook ? kTextbookCountDescription
                          : designed(ControlRole::CountLabel).accessibleDescription));
}

void MainWindow::openModeMenu()
{
    modeMenu_->showModes(modes_, run_->running());
    modeMenu_->popup(boardView_->mapToGlobal(boardView_->contentsRect().topLeft()));
}

void MainWindow::resetBoard()
{
    paceTimer_->stop();
    guarded([&] {
        run_->stop();
        run_->resetTotals();
        buffon::resetBoard(*boardView_, *estimateText_, *countText_);
    });
    // No run is shown, nor to be found by a screen reader.
    announcer_->announce({});
    showModeLine();
}

void MainWindow::exitProgram()
{
    guarded([&] {
        playCue(*device_, utf8Text(kExitCue));
        // A box with the single OK button answers OK however it is dismissed.
        showBox(*this, QMessageBox::NoIcon, "ExitBox", utf8Text(kExitPrompt));
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
