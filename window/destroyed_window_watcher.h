// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>

class QWidget;

namespace buffon {

// Ends the program when the X server destroys its window behind Qt's back (xdotool
// windowclose, a desktop's "force close"): Qt does not notice, and the process would go on
// with no window to show or close. A box destroyed so is answered OK.
class DestroyedWindowWatcher final : public QAbstractNativeEventFilter {
public:
    explicit DestroyedWindowWatcher(QWidget* window) : window_(window) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QPointer<QWidget> window_;
};

}  // namespace buffon
