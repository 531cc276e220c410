// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace buffon {

// An option of the command line: its name after "--", what its value stands for (empty for an
// option that takes none), and what --help says of it.
struct KnownOption {
    std::string name;
    std::string valueName;
    std::string help;
};

// The options given, by name, with their values as the command line gave them, bytes and all:
// a file name is never decoded, so that it reaches the system as it was typed.
struct OptionValues {
    std::map<std::string, std::string> values;
    bool help = false;
    bool version = false;

    bool isSet(const std::string& name) const { return values.contains(name); }
    std::optional<std::string> value(const std::string& name) const;
};

// Reads `arguments` (without the program's name) against `known`: "--name value",
// "--name=value", -h, -? and -v; every other token is an error, said in the returned text.
// An option given twice, an unknown one, a value that is missing or that is itself an option
// are errors too.
std::optional<OptionValues> readOptions(std::span<const std::string> arguments,
                                        std::span<const KnownOption> known, std::string& error);

// The help, laid out as Qt's own programs lay it out: usage, description, then the options
// with their texts wrapped in a column.
std::string helpText(const std::string& program, const std::string& description,
                     std::span<const KnownOption> known);

}  // namespace buffon
