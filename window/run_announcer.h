// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

namespace buffon {

// Tells a screen reader what a run has shown, as a desktop notification does: an accessible
// notification that appears with the text. It takes no room and paints nothing.
class RunAnnouncer final : public QWidget {
    Q_OBJECT

public:
    explicit RunAnnouncer(QWidget* parent);

    // An empty text takes the last announcement away.
    void announce(const QString& text);
};

}  // namespace buffon
