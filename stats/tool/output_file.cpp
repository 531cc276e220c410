// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "stats/tool/complaint.h"
#include "stats/tool/temporary_files.h"

namespace buffon {
namespace {

std::string reasonOf(int error)
{
    return std::strerror(error);
}

// Why a descriptor cannot take writes, or 0.
int unwritable(int descriptor)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0) {
        return errno;
    }
    return (flags & O_ACCMODE) == O_RDONLY ? EBADF : 0;
}

// Why the file a replacement would take the place of may not be written, or 0: as for the
// shell's `>`, the file's own permissions decide, not only its folder's.
int unreplaceable(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

}  // namespace

OutputFile::OutputFile(std::string path)
    : path_(std::move(path)), destination_(destinationOf(path_))
{
}

OutputFile::OutputFile(std::string path, Destination destination)
    : path_(std::move(path)), destination_(std::move(destination))
{
}

OutputFile OutputFile::standardError()
{
    return {"/dev/stderr", {Destination::Kind::Descriptor, STDERR_FILENO, {}}};
}

OutputFile::~OutputFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        forgetTemporary(temporary_);
    }
}

std::string OutputFile::shownName() const
{
    return path_ == "-" ? std::string("standard output") : printable(path_);
}

std::string OutputFile::probe() const
{
    switch (destination_.kind) {
    case Destination::Kind::Descriptor:
        if (const int error = unwritable(destination_.descriptor); error != 0) {
            return reasonOf(error);
        }
        return {};
    case Destination::Kind::InPlace: {
        struct stat status {};
        if (::stat(destination_.path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            return reasonOf(EISDIR);
        }
        return ::access(destination_.path.c_str(), W_OK) == 0 ? std::string() : reasonOf(errno);
    }
    case Destination::Kind::Replaced:
        break;
    }
    if (const int error = unreplaceable(destination_.path); error != 0) {
        return reasonOf(error);
    }
    std::string name;
    const int fd = createTemporary(destination_.path, name);
    if (fd < 0) {
        return reasonOf(errno);
    }
    ::close(fd);
    ::unlink(name.c_str());
    forgetTemporary(name);
    return {};
}

bool OutputFile::open()
{
    switch (destination_.kind) {
    case Destination::Kind::Descriptor:
        if (const int error = unwritable(destination_.descriptor); error != 0) {
            return fail(error);
        }
        // A copy shares the caller's file position: what a redirection with >> appends to
        // stays, and closing the copy leaves the descriptor open.
        fd_ = ::fcntl(destination_.descriptor, F_DUPFD_CLOEXEC, 0);
        return fd_ >= 0 || fail(errno);
    case Destination::Kind::InPlace:
        fd_ = ::open(destination_.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        return fd_ >= 0 || fail(errno);
    case Destination::Kind::Replaced:
        break;
    }
    if (const int error = unreplaceable(destination_.path); error != 0) {
        return fail(error);
    }
    fd_ = createTemporary(destination_.path, temporary_);
    if (fd_ < 0) {
        return fail(errno);
    }
    // The replacement keeps the replaced file's permissions and, where allowed, its owner; a
    // new file gets the usual ones.
    struct stat status {};
    if (::stat(destination_.path.c_str(), &status) == 0) {
        [[maybe_unused]] const int kept = ::fchown(fd_, status.st_uid, status.st_gid);
        return ::fchmod(fd_, status.st_mode & 07777) == 0 || fail(errno);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(fd_, 0666 & ~mask) == 0 || fail(errno);
}

bool OutputFile::write(std::string_view bytes)
{
    while (error_.empty() && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            return fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(written, 0)));
    }
    return error_.empty();
}

bool OutputFile::commit()
{
    if (!error_.empty()) {
        return false;
    }
    if (temporary_.empty()) {
        return ::close(std::exchange(fd_, -1)) == 0 || fail(errno);
    }
    // A disk may report that it is full only when the data is forced onto it.
    if (::fsync(fd_) != 0 || ::close(std::exchange(fd_, -1)) != 0) {
        return fail(errno);
    }
    if (::rename(temporary_.c_str(), destination_.path.c_str()) != 0) {
        return fail(errno);
    }
    forgetTemporary(std::exchange(temporary_, {}));
    return true;
}

bool OutputFile::fail(int error)
{
    if (error_.empty()) {
        error_ = reasonOf(error);
    }
    return false;
}

void holdClosedStandardStreams()
{
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(stream, F_GETFD) < 0 && errno == EBADF) {
            // The lowest free number is the one closed.
            [[maybe_unused]] const int held = ::open("/dev/null", O_RDONLY);
        }
    }
}

}  // namespace buffon
