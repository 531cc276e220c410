// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/files/output_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "stats/tool/complaint.h"
#include "stats/tool/files/temporary_files.h"

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

// Why an ordinary file may not be written over, or 0: as for the shell's `>`, the file's own
// permissions decide, not only its folder's, and so do its append-only and immutable marks.
int unwritableFile(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    if (::access(path.c_str(), W_OK) != 0) {
        return errno;
    }
    int attributes = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        const bool marked = ::ioctl(fd, FS_IOC_GETFLAGS, &attributes) == 0 &&
                            (attributes & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
        ::close(fd);
        return marked ? EPERM : 0;
    }
    return 0;
}

// Why what a path leads to cannot be written straight into, or 0, found without writing:
// opening a socket fails, and so does opening a terminal a program without one names.
int unwritableInPlace(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT) {
            return errno;
        }
        if (path.ends_with('/')) {
            return EISDIR;
        }
        const auto slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    if (S_ISSOCK(status.st_mode)) {
        return ENXIO;
    }
    if (S_ISCHR(status.st_mode)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            return errno;
        }
        ::close(fd);
        return 0;
    }
    return S_ISREG(status.st_mode) ? unwritableFile(path)
                                   : (::access(path.c_str(), W_OK) == 0 ? 0 : errno);
}

// Why the shell's `>` could not write the file, found without changing it: it is opened for
// writing as `>` opens it, but not emptied, and given no bytes, which a file that takes none
// (/proc/version) refuses; a file made for the trial is removed.
int unwritableAsShellWrites(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const bool made =
        fd < 0 && errno == ENOENT &&
        (fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)) >= 0;
    if (fd < 0) {
        return errno;
    }
    const int error = ::write(fd, "", 0) < 0 ? errno : 0;
    ::close(fd);
    if (made) {
        ::unlink(path.c_str());
    }
    return error;
}

// The folder of a file, held by a descriptor to make, rename and remove files in by name,
// wherever the folder is moved or a link to it pointed later.
int openFolder(const std::string& path)
{
    return ::open(folderOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// The replaced file's permissions, owner (where allowed) and extended attributes, access
// lists among them, go to its replacement.
void keepAttributes(const std::string& replaced, int replacement)
{
    struct stat status {};
    if (::stat(replaced.c_str(), &status) != 0) {
        return;  // a new file keeps what it was made with
    }
    [[maybe_unused]] const int owned = ::fchown(replacement, status.st_uid, status.st_gid);
    ::fchmod(replacement, status.st_mode & 07777);
    const ssize_t size = ::listxattr(replaced.c_str(), nullptr, 0);
    std::string names(static_cast<std::size_t>(std::max<ssize_t>(size, 0)), '\0');
    if (size <= 0 || ::listxattr(replaced.c_str(), names.data(), names.size()) != size) {
        return;
    }
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const char* name = names.c_str() + at;
        const ssize_t length = ::getxattr(replaced.c_str(), name, nullptr, 0);
        std::string value(static_cast<std::size_t>(std::max<ssize_t>(length, 0)), '\0');
        if (length >= 0 &&
            ::getxattr(replaced.c_str(), name, value.data(), value.size()) == length) {
            ::fsetxattr(replacement, name, value.data(), value.size(), 0);
        }
    }
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
    release();
    if (folder_ >= 0) {
        ::close(folder_);
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
    case Destination::Kind::InPlace:
        if (const int error = unwritableInPlace(destination_.path); error != 0) {
            return reasonOf(error);
        }
        return {};
    case Destination::Kind::Replaced:
        break;
    }
    if (const int error = unwritableFile(destination_.path); error != 0) {
        return reasonOf(error);
    }
    // Where no temporary can be made beside the file (no inode left, a folder that makes no
    // files), it is written in place, as the shell's `>` would write it.
    const int folder = openFolder(destination_.path);
    std::string name;
    const int fd = folder < 0 ? -1 : createTemporary(folder, nameOf(destination_.path), name);
    const int error = fd >= 0 ? 0 : unwritableAsShellWrites(destination_.path);
    if (fd >= 0) {
        ::close(fd);
        removeTemporary(folder, name);
    }
    if (folder >= 0) {
        ::close(folder);
    }
    return error == 0 ? std::string() : reasonOf(error);
}

bool OutputFile::open()
{
    // What the path leads to may have changed since the program started: a FIFO taken away,
    // a file put in its place.
    destination_ = destinationOf(path_);
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
        return openInPlace();
    case Destination::Kind::Replaced:
        break;
    }
    return openReplacement();
}

bool OutputFile::openInPlace()
{
    // As the shell's `>` opens it: a file is emptied first, and made if it is not there.
    fd_ = ::open(destination_.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC,
                 0666);
    return fd_ >= 0 || fail(errno);
}

bool OutputFile::openReplacement()
{
    if (const int error = unwritableFile(destination_.path); error != 0) {
        return fail(error);
    }
    folder_ = openFolder(destination_.path);
    fd_ = folder_ < 0 ? -1 : createTemporary(folder_, nameOf(destination_.path), temporary_);
    if (fd_ < 0) {
        // As probe() found: the file itself, as the shell's `>` writes it.
        temporary_.clear();
        destination_.kind = Destination::Kind::InPlace;
        return openInPlace();
    }
    keepAttributes(destination_.path, fd_);
    return true;
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
    if (::renameat(folder_, temporary_.c_str(), folder_, nameOf(destination_.path).c_str()) != 0) {
        return fail(errno);
    }
    forgetTemporary(folder_, std::exchange(temporary_, {}));
    return true;
}

bool OutputFile::fail(int error)
{
    if (error_.empty()) {
        error_ = reasonOf(error);
    }
    release();
    return false;
}

void OutputFile::release()
{
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporary_.empty()) {
        removeTemporary(folder_, std::exchange(temporary_, {}));
    }
}

}  // namespace buffon
