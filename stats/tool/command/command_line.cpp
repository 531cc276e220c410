// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/command/command_line.h"

#include <algorithm>
#include <cctype>

namespace buffon {
namespace {

constexpr std::size_t kLineWidth = 79;

const KnownOption* knownNamed(std::span<const KnownOption> known, std::string_view name)
{
    const auto found = std::find_if(known.begin(), known.end(), [name](const KnownOption& option) {
        return option.name == name;
    });
    return found == known.end() ? nullptr : &*found;
}

std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// "unknown option -needles; did you mean --needles?", where a known option is near enough.
std::string unknownOption(std::string_view token, std::span<const KnownOption> known)
{
    const std::string_view name = token.substr(0, token.find('='));
    const std::string_view bare = name.substr(std::min(name.find_first_not_of('-'), name.size()));
    std::string text = "unknown option " + std::string(name);
    // One slip, or two in a long name: a short one two slips away is another word.
    const std::size_t slips = bare.size() >= 5 ? 2 : 1;
    const KnownOption* nearest = nullptr;
    for (const KnownOption& option : known) {
        const std::size_t distance = editDistance(bare, option.name);
        if (distance <= slips && (!nearest || distance < editDistance(bare, nearest->name))) {
            nearest = &option;
        }
    }
    return nearest ? text + "; did you mean --" + nearest->name + "?" : text + "; see --help";
}

// A token in a value's place that is an option, not a value: "--json", "-x"; "-" and negative
// numbers are values.
bool looksLikeOption(std::string_view token)
{
    return token.size() > 1 && token[0] == '-' &&
           (token[1] == '-' || std::isalpha(static_cast<unsigned char>(token[1])) ||
            token[1] == '?');
}

// Words filled into lines of at most `width` characters.
std::vector<std::string> wrapped(const std::string& text, std::size_t width)
{
    std::vector<std::string> lines(1);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width) {
            lines.emplace_back();
        }
        lines.back() += (lines.back().empty() ? "" : " ") + word;
        at = end + 1;
    }
    return lines;
}

}  // namespace

std::optional<std::string> OptionValues::value(const std::string& name) const
{
    const auto found = values.find(name);
    return found == values.end() ? std::nullopt : std::optional(found->second);
}

std::optional<OptionValues> readOptions(std::span<const std::string> arguments,
                                        std::span<const KnownOption> known, std::string& error)
{
    OptionValues read;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& token = arguments[i];
        if (token == "-h" || token == "-?" || token == "--help" || token == "--help-all") {
            read.help = true;
            continue;
        }
        if (token == "-v" || token == "--version") {
            read.version = true;
            continue;
        }
        if (token.starts_with("--help=") || token.starts_with("--version=")) {
            error = token.substr(0, token.find('=')) + " takes no value";
            return std::nullopt;
        }
        if (token == "--" || !looksLikeOption(token) || !token.starts_with("--")) {
            error = looksLikeOption(token) && token != "--"
                        ? unknownOption(token, known)
                        : "unexpected argument \"" + token + "\"; see --help";
            return std::nullopt;
        }
        const std::size_t equals = token.find('=');
        const std::string name = token.substr(2, equals == std::string::npos ? equals : equals - 2);
        const KnownOption* option = knownNamed(known, name);
        if (!option || (option->valueName.empty() && equals != std::string::npos)) {
            error = option ? "--" + name + " takes no value" : unknownOption(token, known);
            return std::nullopt;
        }
        if (read.isSet(name)) {
            error = "--" + name + " is given more than once";
            return std::nullopt;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = token.substr(equals + 1);
        } else if (!option->valueName.empty()) {
            if (i + 1 == arguments.size() || looksLikeOption(arguments[i + 1])) {
                error = "--" + name + " needs a value (" + option->valueName + ")" +
                        (i + 1 == arguments.size() ? "" : ", not the option " + arguments[i + 1]);
                return std::nullopt;
            }
            value = arguments[++i];
        }
        read.values[name] = value;
    }
    return read;
}

std::string helpText(const std::string& program, const std::string& description,
                     std::span<const KnownOption> known)
{
    std::vector<std::pair<std::string, std::string>> rows{
        {"-h, --help", "Displays help on commandline options."},
        {"-v, --version", "Displays version information."}};
    for (const KnownOption& option : known) {
        rows.emplace_back(
            "--" + option.name + (option.valueName.empty() ? "" : " <" + option.valueName + ">"),
            option.help);
    }
    std::size_t widest = 0;
    for (const auto& [names, help] : rows) {
        widest = std::max(widest, names.size());
    }
    std::string text = "Usage: " + program + " [options]\n" + description + "\n\nOptions:\n";
    const std::size_t indent = 2 + widest + 2;
    for (const auto& [names, help] : rows) {
        const std::vector<std::string> lines = wrapped(help, kLineWidth - indent);
        text += "  " + names + std::string(widest - names.size() + 2, ' ') + lines.front() + '\n';
        for (std::size_t i = 1; i < lines.size(); ++i) {
            text += std::string(indent, ' ') + lines[i] + '\n';
        }
    }
    return text;
}

}  // namespace buffon
