// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <string_view>

namespace buffon {

// One output of the companion. An ordinary file, or a path that does not exist yet, is written
// whole or not at all: into a temporary file beside it, which replaces it only once everything
// is written. Anything else (a device, a FIFO, a terminal) is written straight into, since
// replacing it would destroy it; "-" is standard output. Reasons are the system's own words.
class OutputFile {
public:
    explicit OutputFile(QString path);
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const QString& path() const { return path_; }
    bool isStandardOutput() const { return path_ == QLatin1String("-"); }

    // Tries, before the long work starts, whether the path can be written, touching nothing:
    // why not, or an empty text.
    QString probe() const;

    // Each returns false, with the reason in error(), at the first failure; later calls then do
    // nothing.
    bool open();
    bool write(std::string_view bytes);
    bool commit();
    const QString& error() const { return error_; }

private:
    bool fail(int error);

    QString path_;
    QString temporary_;  // empty when written straight into
    int fd_ = -1;
    int slot_ = -1;  // in the table of temporaries to remove on an interrupt
    QString error_;
};

// The same file behind two paths, through links or not: compared by where they resolve to, and
// by device and inode where both exist.
bool sameFile(const QString& first, const QString& second);

}  // namespace buffon
