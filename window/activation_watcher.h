// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace buffon {

// Tells when a window becomes this program's active window: when it is first shown, whether or
// not the desktop hands it the focus (without a window manager, or behind a guard against
// focus stealing, it never gets it), and when it takes the focus back from another window of
// this program. Coming back from another program does not count.
class ActivationWatcher final : public QObject {
    Q_OBJECT

public:
    explicit ActivationWatcher(QObject* parent = nullptr);

    void watch(QWidget* window);

    // Fed with every change of the program's focus window. nullptr means that no window of
    // the program has the focus: another program has it, or the focus is between two windows
    // of this one (X11 passes through nothing when a dialog closes).
    void focusWindowChanged(QWindow* focus);

signals:
    void activated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    bool shown_ = false;
    bool lastFocusOnOtherOwnWindow_ = false;
};

}  // namespace buffon
