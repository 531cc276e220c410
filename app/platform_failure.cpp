// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "app/platform_failure.h"

#include <QGuiApplication>
#include <QStringList>
#include <QtGlobal>
#include <algorithm>
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
        // xcb:display=:99 names its display among the platform's own options.
        const QStringList options =
            platform.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const bool namesDisplay =
            std::any_of(options.begin(), options.end(), [](const QString& option) {
                return option.startsWith(QLatin1String("display="));
            });
        if ((name != QLatin1String("xcb") && !name.startsWith(QLatin1String("wayland"))) ||
            namesDisplay) {
            return false;
        }
    }
    return true;
}

// Ends the program with one line: the reason, or else what Qt said, and status 1.
[[noreturn]] void fail(const QString& reason)
{
    QStringList sentences;
    for (const QString& said : std::as_const(held().reasons)) {
        QString sentence = said.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(' ');
        if (!sentence.endsWith(QLatin1Char('.')) && !sentence.endsWith(QLatin1Char('!'))) {
            sentence += QLatin1Char('.');
        }
        sentences << sentence;
    }
    const QString line = reason.isEmpty() ? sentences.join(QLatin1Char(' ')) : reason;
    std::fprintf(stderr, "buffon-needle: %s\n", qUtf8Printable(line));
    std::_Exit(1);
}

void holdOrFail(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    HeldMessages& messages = held();
    messages.reasons << message;
    if (type != QtFatalMsg) {
        messages.formatted << qFormatLogMessage(type, context, message);
        return;
    }
    fail(messages.noDisplay ? QStringLiteral("no display found; start it on a desktop, or give it "
                                             "one with DISPLAY (for example: xvfb-run "
                                             "buffon-needle)")
                            : QString());
}

}  // namespace

void reportPlatformFailure(const CommandLine& line)
{
    held().noDisplay = noDisplayGiven(line);
    qInstallMessageHandler(holdOrFail);
}

void platformStarted()
{
    // Platforms that start and take the window but show no widget's pixels: vkkhrdisplay shows
    // Vulkan surfaces alone, and the program would run on unseen.
    if (QGuiApplication::platformName() == QLatin1String("vkkhrdisplay")) {
        fail(held().reasons.isEmpty() ? QStringLiteral("the vkkhrdisplay platform shows Vulkan "
                                                       "surfaces only, not this window")
                                      : QString());
    }
    qInstallMessageHandler(nullptr);
    for (const QString& line : std::as_const(held().formatted)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    }
    held() = {};
}

}  // namespace buffon
