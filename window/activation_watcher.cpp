#include "activation_watcher.h"

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
}

void ActivationWatcher::focusWindowChanged(QWindow* focus)
{
    const QWindow* previous = previousFocus_;
    previousFocus_ = focus;
    const QWindow* watched = window_ ? window_->windowHandle() : nullptr;
    if (!watched || focus != watched) {
        return;
    }
    const bool fromOwnWindow = previous != nullptr && previous != watched;
    if (!everActive_ || fromOwnWindow) {
        everActive_ = true;
        emit activated();
    }
}

}  // namespace buffon
