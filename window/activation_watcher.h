#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace buffon {

// Tells when a window becomes this program's active window: at its first activation, and when
// it takes the focus back from another window of this program. Coming back from another
// program does not count.
class ActivationWatcher final : public QObject {
    Q_OBJECT

public:
    explicit ActivationWatcher(QObject* parent = nullptr);

    void watch(QWidget* window);

    // Fed with every change of the program's focus window; nullptr means another program has
    // the focus.
    void focusWindowChanged(QWindow* focus);

signals:
    void activated();

private:
    QPointer<QWidget> window_;
    QPointer<QWindow> previousFocus_;
    bool everActive_ = false;
};

}  // namespace buffon
