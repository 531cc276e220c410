// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "app/platform_failure.h"

#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"

namespace buffon {
namespace {

struct HeldMessages {
    bool noDisplay = false;
    QStringList reasons;    // as Qt said them
    QStringList formatted;  // as Qt would have printed them
};

HeldMessages& held()
{
    static HeldMessages messages;
    return messages;
}

// No display is named, and the platforms Qt is to try all need one.
bool noDisplayGiven(const CommandLine& line)
{
    if (line.namesDisplay || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return false;
    }
    const QString platforms =
        line.platform.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : line.platform;
    for (const QString& platform : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = platform.section(QLatin1Char(':'), 0, 0);
        if (name != QLatin1String("xcb") && !name.startsWith(QLatin1String("wayland"))) {
            return false;
        }
    }
    return true;
}

void holdOrFail(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    HeldMessages& messages = held();
    messages.reasons << message;
    if (type != QtFatalMsg) {
        messages.formatted << qFormatLogMessage(type, context, message);
        return;
    }
    QString reason;
    if (messages.noDisplay) {
        reason = QStringLiteral(
            "no display found; start it on a desktop, or give it one with "
            "DISPLAY (for example: xvfb-run buffon-needle)");
    } else {
        QStringList sentences;
        for (const QString& said : messages.reasons) {
            QString sentence = said.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(' ');
            if (!sentence.endsWith(QLatin1Char('.')) && !sentence.endsWith(QLatin1Char('!'))) {
                sentence += QLatin1Char('.');
            }
            sentences << sentence;
        }
        reason = sentences.join(QLatin1Char(' '));
    }
    std::fprintf(stderr, "buffon-needle: %s\n", qUtf8Printable(reason));
    std::_Exit(1);
}

}  // namespace

void reportPlatformFailure(const CommandLine& line)
{
    held().noDisplay = noDisplayGiven(line);
    qInstallMessageHandler(holdOrFail);
}

void platformStarted()
{
    qInstallMessageHandler(nullptr);
    for (const QString& line : std::as_const(held().formatted)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    }
    held() = {};
}

}  // namespace buffon
