// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace buffon {
namespace {

// How Qt takes an option's value: none, the next argument, or also after "=" (-style=Fusion).
enum class Value { None, Next, NextOrAttached };

struct QtOption {
    const char* name;
    Value value;
};

// The options Qt 6 takes out of a widget program's arguments on Linux, each also with two
// dashes, the last ones on X11 only. A program that read its arguments before Qt would
// otherwise refuse them, and a session manager restores a program with -session.
constexpr QtOption kQtOptions[] = {
    {"platform", Value::Next},
    {"platformpluginpath", Value::Next},
    {"platformtheme", Value::Next},
    {"plugin", Value::Next},
    {"qmljsdebugger", Value::NextOrAttached},
    {"qwindowgeometry", Value::Next},
    {"qwindowicon", Value::Next},
    {"qwindowtitle", Value::Next},
    {"reverse", Value::None},
    {"session", Value::Next},
    {"style", Value::NextOrAttached},
    {"stylesheet", Value::NextOrAttached},
    {"widgetcount", Value::None},
    {"testability", Value::None},
    {"display", Value::Next},
    {"geometry", Value::Next},
    {"title", Value::Next},
    {"icon", Value::Next},
    {"name", Value::Next},
    {"visual", Value::Next},
    {"nograb", Value::None},
    {"dograb", Value::None},
};

// An argument such as -platform=offscreen, which QCommandLineParser would read as the option
// and its value but Qt leaves alone: taken, it would be ignored without a word.
QString attachedValueQtIgnores(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--")) {
            break;
        }
        const QString name = argument.section(QLatin1Char('='), 0, 0).remove(QLatin1Char('-'));
        for (const QtOption& option : kQtOptions) {
            if (argument.startsWith(QLatin1Char('-')) && argument.contains(QLatin1Char('=')) &&
                name == QLatin1String(option.name) && option.value != Value::NextOrAttached) {
                return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
            }
        }
    }
    return {};
}

// The first argument that is neither an option nor a value of one: Qt reads its own options
// even after "--", so only those are let through there.
QString strayArgument(const QStringList& positional)
{
    for (qsizetype i = 0; i < positional.size(); ++i) {
        const QString name =
            positional[i].mid(positional[i].startsWith(QLatin1String("--")) ? 2 : 1);
        const auto option =
            std::find_if(std::begin(kQtOptions), std::end(kQtOptions), [&name](const QtOption& o) {
                return name == QLatin1String(o.name);
            });
        if (!positional[i].startsWith(QLatin1Char('-')) || option == std::end(kQtOptions)) {
            return positional[i];
        }
        i += option->value == Value::None ? 0 : 1;
    }
    return {};
}

// The line as a terminal shows it: an argument's control characters would start new lines or
// colour the user's terminal.
QString printable(const QString& line)
{
    QString shown;
    for (const QChar c : line) {
        shown += c.category() == QChar::Other_Control
                     ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                     : QString(c);
    }
    return shown;
}

// Status 0 once all of stdout is written; 1, with the reason, where it could not be (a full
// disk, a closed descriptor).
int written(const QString& program)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) {
        return 0;
    }
    std::fprintf(stderr, "%s: cannot write to standard output: %s\n", qUtf8Printable(program),
                 std::strerror(errno));
    return 1;
}

// The modes asked for, in the order given, so that a later choice of one mode wins.
ParsedModes chosenModes(const QCommandLineParser& parser)
{
    std::vector<ModeChoice> choices;
    QStringList taken;
    for (const QString& name : parser.optionNames()) {
        const auto mode =
            std::find_if(modeOptions().begin(), modeOptions().end(), [&name](const ModeOption& m) {
                return name == QLatin1String(m.option);
            });
        if (mode == modeOptions().end()) {
            continue;
        }
        // optionNames() lists an option once a time it is given; its values come in that order.
        const QStringList values = parser.values(name);
        const qsizetype nth = taken.count(name);
        taken << name;
        choices.push_back({name.toStdString(), mode->valueName && nth < values.size()
                                                   ? values[nth].toStdString()
                                                   : std::string()});
    }
    return parseModes(choices, ModeNames::Option);
}

}  // namespace

CommandLine readCommandLine(int& argc, char* argv[])
{
    // Help and version need no display.
    QCoreApplication commandLine(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Estimates pi by Buffon's needle experiment and draws all the needles of a run at once\n"
        "(or at --pace). A run shown with --show-reseed is thrown again, needle for needle, by\n"
        "--reseed VALUE, and counted by buffon-needle-stats --reseed VALUE.\n"
        "It also takes the options every Qt program takes, such as -platform NAME, -style NAME,\n"
        "-display DISPLAY, -geometry GEOMETRY and -session ID; buffon-needle-stats runs many\n"
        "runs at once."));
    // As Qt reads its own options: -platform is one option, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const ModeOption& mode : modeOptions()) {
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(mode.option), QString::fromUtf8(mode.help),
                               mode.valueName ? QString::fromLatin1(mode.valueName) : QString()));
    }
    for (const QtOption& qtOption : kQtOptions) {
        QCommandLineOption option(
            QString::fromLatin1(qtOption.name), QString(),
            qtOption.value == Value::None ? QString() : QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine line;
    const QString ignored = attachedValueQtIgnores(commandLine.arguments());
    const bool parsed = ignored.isEmpty() && parser.parse(commandLine.arguments());
    const QString stray = parsed ? strayArgument(parser.positionalArguments()) : QString();
    const ParsedModes modes = parsed ? chosenModes(parser) : ParsedModes{};
    if (!parsed || !stray.isEmpty() || !modes.error.empty()) {
        const QString error =
            !ignored.isEmpty() ? QStringLiteral("Unknown option '%1'.").arg(ignored)
            : !parsed          ? parser.errorText()
            : !stray.isEmpty() ? QStringLiteral("Unexpected argument '%1'.").arg(stray)
                               : QString::fromStdString(modes.error) + QLatin1Char('.');
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(commandLine.applicationName()),
                     qUtf8Printable(printable(error)));
        line.exitStatus = 2;
        return line;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        if (parser.isSet(QStringLiteral("help-all"))) {
            text += QStringLiteral("\nQt's options:\n");
            for (const QtOption& option : kQtOptions) {
                text += QStringLiteral("  -%1%2\n")
                            .arg(QString::fromLatin1(option.name),
                                 option.value == Value::None ? "" : " <value>");
            }
        }
        std::fputs(qUtf8Printable(text), stdout);
        line.exitStatus = written(commandLine.applicationName());
    } else if (parser.isSet(version)) {
        std::printf("%s %s\n", qUtf8Printable(commandLine.applicationName()),
                    qUtf8Printable(commandLine.applicationVersion()));
        line.exitStatus = written(commandLine.applicationName());
    }
    line.modes = modes.modes;
    line.platform = parser.value(QStringLiteral("platform"));
    // Qt reads -display even after "--".
    const QStringList arguments = commandLine.arguments().mid(1);
    line.namesDisplay = arguments.contains(QLatin1String("-display")) ||
                        arguments.contains(QLatin1String("--display"));
    return line;
}

}  // namespace buffon
