// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/run_announcer.h"

#include <QAccessibleWidget>

namespace buffon {
namespace {

QAccessibleInterface* notificationFor(const QString& className, QObject* object)
{
    if (className == QLatin1String("buffon::RunAnnouncer") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

}  // namespace

RunAnnouncer::RunAnnouncer(QWidget* parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(notificationFor);
        return true;
    }();
    Q_UNUSED(installed);
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void RunAnnouncer::announce(const QString& text)
{
    // Screen readers speak a notification as it appears; an empty one is only taken away.
    hide();
    setAccessibleName(text);
    setVisible(!text.isEmpty());
}

}  // namespace buffon
