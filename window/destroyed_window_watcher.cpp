// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/destroyed_window_watcher.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace buffon {

bool DestroyedWindowWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !window_) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit only says that another client sent the event.
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) {
        return false;
    }
    const xcb_window_t destroyed =
        reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window;
    if (window_->internalWinId() == destroyed) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
        return false;
    }
    // A box destroyed the same way is answered as its one button would answer it; left
    // waiting, it would hold the window with nothing left to click.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QDialog*>(top);
        if (box && box->isVisible() && box->internalWinId() == destroyed) {
            QMetaObject::invokeMethod(box, &QDialog::accept, Qt::QueuedConnection);
        }
    }
    return false;
}

}  // namespace buffon
