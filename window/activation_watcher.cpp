// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/activation_watcher.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace buffon {

ActivationWatcher::ActivationWatcher(QObject* parent) : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &ActivationWatcher::focusWindowChanged);
}

void ActivationWatcher::watch(QWidget* window)
{
    window_ = window;
    window->installEventFilter(this);
}

bool ActivationWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        emit activated();
    }
    return false;
}

void ActivationWatcher::focusWindowChanged(QWindow* focus)
{
    if (!focus) {
        return;
    }
    const QWindow* watched = window_ ? window_->windowHandle() : nullptr;
    if (focus != watched) {
        lastFocusOnOtherOwnWindow_ = true;
        return;
    }
    if (lastFocusOnOtherOwnWindow_) {
        emit activated();
    }
    lastFocusOnOtherOwnWindow_ = false;
}

}  // namespace buffon
