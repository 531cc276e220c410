#pragma once

#include <QPushButton>

namespace buffon {

// A push button that also clicks on Enter while it has the focus, as Space does. Qt only does
// that for buttons inside dialogs.
class CommandButton final : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace buffon
