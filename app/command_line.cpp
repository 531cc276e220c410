// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace buffon {
namespace {

struct QtOption {
    const char* name;
    bool takesValue;
};

// The options Qt 6 takes out of a widget program's arguments on Linux, each also with two
// dashes, the last ones on X11 only. A program that read its arguments before Qt would
// otherwise refuse them, and a session manager restores a program with -session.
constexpr QtOption kQtOptions[] = {
    {"platform", true},      {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},
    {"qwindowicon", true},   {"qwindowtitle", true},
    {"reverse", false},      {"session", true},
    {"style", true},         {"stylesheet", true},
    {"widgetcount", false},  {"testability", false},
    {"display", true},       {"geometry", true},
    {"title", true},         {"icon", true},
    {"name", true},          {"visual", true},
    {"nograb", false},       {"dograb", false},
};

}  // namespace

CommandLine readCommandLine(int& argc, char* argv[])
{
    // Help and version need no display.
    QCoreApplication commandLine(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Estimates pi by Buffon's needle experiment and shows every needle as it falls.\n"
        "It also takes the options every Qt program takes, such as -platform NAME, -style NAME,\n"
        "-display DISPLAY, -geometry GEOMETRY and -session ID; buffon-needle-stats runs many\n"
        "runs at once."));
    // As Qt reads its own options: -platform is one option, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const QtOption& qtOption : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(qtOption.name), QString(),
                                  qtOption.takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine line;
    if (!parser.parse(commandLine.arguments())) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(commandLine.applicationName()),
                     qUtf8Printable(parser.errorText()));
        line.exitStatus = 2;
        return line;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        if (parser.isSet(QStringLiteral("help-all"))) {
            text += QStringLiteral("\nQt's options:\n");
            for (const QtOption& option : kQtOptions) {
                text +=
                    QStringLiteral("  -%1%2\n")
                        .arg(QString::fromLatin1(option.name), option.takesValue ? " <value>" : "");
            }
        }
        std::fputs(qUtf8Printable(text), stdout);
        line.exitStatus = 0;
    } else if (parser.isSet(version)) {
        std::printf("%s %s\n", qUtf8Printable(commandLine.applicationName()),
                    qUtf8Printable(commandLine.applicationVersion()));
        line.exitStatus = 0;
    }
    line.platform = parser.value(QStringLiteral("platform"));
    line.namesDisplay = parser.isSet(QStringLiteral("display"));
    return line;
}

}  // namespace buffon
