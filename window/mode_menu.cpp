// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/mode_menu.h"

#include <QActionGroup>

#include "design/window_texts.h"
#include "window/control_table.h"

namespace buffon {

ModeMenu::ModeMenu(QWidget* parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("ModeMenu"));
    for (const ModeOption& mode : modeOptions()) {
        if (!mode.menuText) {
            continue;
        }
        if (mode.menuValues.empty()) {
            addChoice(mode, utf8Text(mode.menuText), 1);
            continue;
        }
        addSection(utf8Text(mode.menuText));
        auto* group = new QActionGroup(this);
        for (const double value : mode.menuValues) {
            group->addAction(addChoice(mode, utf8Text(choiceText(mode.kind, value)), value));
        }
    }
    addSeparator();
    stop_ = addAction(utf8Text(kStopRunEntry), this, &ModeMenu::stopChosen);
    stop_->setObjectName(QStringLiteral("stop"));
}

QAction* ModeMenu::addChoice(const ModeOption& mode, const QString& text, double value)
{
    QAction* action = addAction(text);
    action->setCheckable(true);
    action->setObjectName(QString::fromLatin1(mode.option) +
                          (mode.menuValues.empty() ? QString() : QString::number(value)));
    choices_.push_back({action, mode.kind, value});
    const bool isSwitch = mode.menuValues.empty();
    connect(action, &QAction::triggered, this, [this, kind = mode.kind, value, isSwitch](bool on) {
        emit chosen(kind, isSwitch ? double(on) : value);
    });
    return action;
}

void ModeMenu::showModes(const LessonModes& modes, bool running)
{
    for (const Choice& choice : choices_) {
        // A switch's value is 1: it is checked when turning it on changes nothing.
        choice.action->setChecked(withChoice(modes, choice.kind, choice.value) == modes);
    }
    stop_->setEnabled(running);
}

}  // namespace buffon
