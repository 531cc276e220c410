#pragma once

#include <QWidget>
#include <memory>

#include "experiment_run.h"
#include "label_caption.h"
#include "local_clock.h"
#include "pixel_board.h"
#include "play_cue.h"
#include "random_source.h"

class QLabel;

namespace buffon {

class ActivationWatcher;
class BoardView;
class ScreenBoard;

inline constexpr const char* kExitCue = "endpinpon.wav";
inline constexpr const char* kBoxTitle = "Scatter needles to find pi !";
inline constexpr const char* kExitPrompt = "This software will exit.";

// The program's only window: the board, the run buttons, Init and Exit, and the labels that
// explain the experiment and show its results.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    // The window makes and owns its sound device unless one is handed in.
    explicit Form1(DeviceControl* device = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    const PixelBoard& board() const { return pixels_; }

    // The window's handlers. None lets a failure escape: a failing step ends the handler, what
    // it drew or wrote stays, and the failure is reported once.
    void RunExperiment(const RunSize& size);
    void ResetBoard();
    void ExitProgram();
    void RuleOnActivation();

private:
    void createControls();
    void connectEvents();
    template <typename Step>
    void guarded(Step&& step);
    void reportFailure(const QString& what);

    PixelBoard pixels_;
    BoardView* picture1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label4_ = nullptr;
    DeviceControl* device_ = nullptr;
    std::unique_ptr<ScreenBoard> screen_;
    std::unique_ptr<LabelCaption> estimateCaption_;
    std::unique_ptr<LabelCaption> countCaption_;
    std::unique_ptr<DeviceCuePlayer> cue_;
    UniformRandomSource random_;
    LocalClock clock_;
    ActivationWatcher* activation_ = nullptr;
};

}  // namespace buffon
