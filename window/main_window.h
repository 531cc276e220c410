// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "experiment/lesson_modes.h"
#include "experiment/local_clock.h"
#include "experiment/random_source.h"
#include "experiment/run_size.h"

class QLabel;
class QPushButton;
class QTimer;

namespace buffon {

class ActivationWatcher;
class BoardView;
class Caption;
class DeviceControl;
class DeviceCuePlayer;
class DestroyedWindowWatcher;
class ModeMenu;
class NeedleSource;
class RunAnnouncer;
class SteppedRun;
struct ControlDesign;
struct RunContext;

// The program's only window: the board, the run buttons, Init and Exit, and the labels that
// explain the experiment and show its results.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    // The window makes and owns its sound device unless one is handed in.
    explicit MainWindow(DeviceControl* device = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The modes of the runs to come; the size and the mode line change at once. A run falling at
    // a pace takes a new pace as it falls, and ends first where its needles would change.
    void setModes(const LessonModes& modes);
    const LessonModes& modes() const { return modes_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void placeControl(QWidget* control, const ControlDesign& entry);
    void connectEvents();

    // The handlers. None lets a failure escape: a failing step ends the handler, what it drew
    // or wrote stays, and the failure is reported once.
    void startRun(const RunSize& size);
    void resetBoard();
    void exitProgram();
    void ruleOnActivation();
    void fallAtPace();
    void keepFallingAt(int pace, std::int64_t fallen);
    void describeRunButtons();
    void stopRun();
    void announceEnd();
    void openModeMenu();
    void applyScale();
    void showModeLine();
    void showCountCaption(bool textbook);

    // Whether the step ran to its end.
    template <typename Step>
    bool guarded(Step&& step);
    void reportFailure(const QString& what);

    BoardView* boardView_ = nullptr;
    QLabel* estimateCaption_ = nullptr;
    QLabel* estimateLabel_ = nullptr;
    QLabel* countCaption_ = nullptr;
    QLabel* countLabel_ = nullptr;
    RunAnnouncer* announcer_ = nullptr;
    std::vector<std::pair<QPushButton*, const RunSize*>> runButtons_;
    std::vector<std::pair<QWidget*, const ControlDesign*>> placed_;
    QLabel* modeLine_ = nullptr;
    const ControlDesign* modeLineDesign_ = nullptr;
    QLabel* emblem_ = nullptr;
    ModeMenu* modeMenu_ = nullptr;
    QPushButton* initButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QWidget* previousInTabOrder_ = nullptr;
    DeviceControl* device_ = nullptr;
    std::unique_ptr<DeviceCuePlayer> cue_;
    std::unique_ptr<Caption> estimateText_;
    std::unique_ptr<Caption> countText_;
    UniformRandomSource random_;
    LocalClock clock_;
    ActivationWatcher* activation_ = nullptr;
    bool cuePreloaded_ = false;
    LessonModes modes_;
    std::unique_ptr<RunContext> context_;
    std::unique_ptr<SteppedRun> run_;
    std::unique_ptr<NeedleSource> needles_;
    QTimer* paceTimer_ = nullptr;
    // A run falls at runPace_ from paceStart_ needles at the time sincePaceStart_ began.
    QElapsedTimer sincePaceStart_;
    std::int64_t paceStart_ = 0;
    int runPace_ = 0;
    std::unique_ptr<DestroyedWindowWatcher> destroyedWatcher_;
};

}  // namespace buffon
