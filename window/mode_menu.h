// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMenu>
#include <vector>

#include "experiment/lesson_modes.h"

class QAction;

namespace buffon {

// The board's context menu: every mode of the table that the menu offers, as checkable entries,
// the choices of a mode with values as an exclusive group; and a way to stop a run that falls
// at a pace. It only reports what is chosen.
class ModeMenu final : public QMenu {
    Q_OBJECT

public:
    explicit ModeMenu(QWidget* parent);

    // Checks the entries these modes stand for; offers the stop while a run falls.
    void showModes(const LessonModes& modes, bool running);

signals:
    void chosen(buffon::ModeKind kind, double value);
    void stopChosen();

private:
    QAction* addChoice(const ModeOption& mode, const QString& text, double value);

    struct Choice {
        QAction* action;
        ModeKind kind;
        double value;
    };
    std::vector<Choice> choices_;
    QAction* stop_ = nullptr;
};

}  // namespace buffon
