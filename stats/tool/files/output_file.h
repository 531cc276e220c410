// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

#include "stats/tool/files/output_path.h"

namespace buffon {

// One output of the companion, written wherever its path leads (see Destination); "-" is
// standard output. Every output, the printed summary and help included, is written this way,
// so a failure anywhere is reported alike, with the system's own reason.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    // Where the summary goes when standard output carries another output.
    static OutputFile standardError();
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The path as the user gave it, shown in one line; "standard output" for "-".
    std::string shownName() const;
    const Destination& destination() const { return destination_; }

    // Tries, before the long work starts, whether the path can be written, touching nothing:
    // why not, or an empty text. A file the user may not write is refused, as the shell's `>`
    // refuses it, even where replacing it would be allowed.
    std::string probe() const;

    // Each returns false, with the reason in error(), at the first failure; later calls then do
    // nothing. A replaced file only changes on commit().
    bool open();
    bool write(std::string_view bytes);
    bool commit();
    const std::string& error() const { return error_; }

private:
    OutputFile(std::string path, Destination destination);
    bool openInPlace();
    bool openReplacement();
    // Records the first failure and gives back what the output holds, its temporary's space
    // included, so that the outputs after it are not starved of it.
    bool fail(int error);
    void release();

    std::string path_;
    Destination destination_;
    int folder_ = -1;        // the replaced file's folder, held while its temporary lives
    std::string temporary_;  // its name there; empty unless a replacement is being written
    int fd_ = -1;
    std::string error_;
};

}  // namespace buffon
