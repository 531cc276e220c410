// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/files/output_path.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <string_view>

namespace buffon {
namespace {

std::optional<int> descriptorNumber(std::string_view digits)
{
    int number = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
        return std::nullopt;
    }
    return number;
}

// The path with runs of slashes and "." components taken out, as the kernel reads it.
std::string tidied(std::string_view path)
{
    std::string tidy;
    while (!path.empty()) {
        const std::size_t slash = std::min(path.find('/'), path.size());
        const std::string_view part = path.substr(0, slash);
        if (part != "." || tidy.empty()) {
            tidy += part;
        } else {
            tidy.pop_back();  // the slash before a "."
        }
        if (slash < path.size() && !tidy.ends_with('/')) {
            tidy += '/';
        }
        path.remove_prefix(std::min(slash + 1, path.size()));
    }
    return tidy;
}

// The descriptor of this process a path names by the kernel's own names for them.
std::optional<int> descriptorNamed(std::string_view given)
{
    const std::string tidy = tidied(given);
    const std::string_view path = given == "-" ? given : std::string_view(tidy);
    if (path == "-" || path == "/dev/stdout") {
        return STDOUT_FILENO;
    }
    if (path == "/dev/stderr") {
        return STDERR_FILENO;
    }
    const std::string ownFolder = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string_view folder :
         {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
          std::string_view("/proc/thread-self/fd/"), std::string_view(ownFolder)}) {
        if (path.starts_with(folder)) {
            return descriptorNumber(path.substr(folder.size()));
        }
    }
    return std::nullopt;
}

// The file system's own attributes of a file or folder: append-only, immutable.
unsigned attributesOf(const std::string& path, int openFlags)
{
    const int fd = ::open(path.c_str(), openFlags | O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    int attributes = 0;
    if (fd >= 0) {
        if (::ioctl(fd, FS_IOC_GETFLAGS, &attributes) != 0) {
            attributes = 0;
        }
        ::close(fd);
    }
    return static_cast<unsigned>(attributes);
}

// Whether the folder of `path` lets a temporary beside it take the file's place: it can be
// written, it is neither append-only nor immutable, it is not sticky with the file another's,
// and the file is not mounted in place. Where it does not, the shell's `>` still writes the
// file itself.
bool replaceable(const std::string& path)
{
    const std::string folder = folderOf(path);
    struct stat folderStatus {};
    if (::access(folder.c_str(), W_OK | X_OK) != 0 || ::stat(folder.c_str(), &folderStatus) != 0 ||
        (attributesOf(folder, O_DIRECTORY) & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0) {
        return false;
    }
    struct statx file {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_UID, &file) != 0) {
        return true;  // nothing there yet
    }
    const uid_t user = ::geteuid();
    const bool sticky = (folderStatus.st_mode & S_ISVTX) != 0 && user != 0 &&
                        file.stx_uid != user && folderStatus.st_uid != user;
    return !sticky && (file.stx_attributes & STATX_ATTR_MOUNT_ROOT) == 0;
}

}  // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
           : slash == 0               ? std::string("/")
                                      : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Destination destinationOf(const std::string& path)
{
    // Links are followed one at a time, as open(2) would, so that a dangling link leads to the
    // file it would create; the kernel's own loop limit bounds the chain.
    std::string at = path;
    for (int step = 0; step < 40; ++step) {
        if (const auto descriptor = descriptorNamed(at)) {
            return {Destination::Kind::Descriptor, *descriptor, {}};
        }
        struct stat status {};
        if (::lstat(at.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            const bool ordinary = ::stat(at.c_str(), &status) != 0 || S_ISREG(status.st_mode);
            const bool replaced = ordinary && !at.ends_with('/') && replaceable(at);
            return {replaced ? Destination::Kind::Replaced : Destination::Kind::InPlace, -1, at};
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(at.c_str(), target, sizeof target);
        if (length < 0 || length == sizeof target) {
            break;
        }
        const std::string link(target, static_cast<std::size_t>(length));
        at = link.starts_with('/') ? link : folderOf(at) + '/' + link;
    }
    // Too many links: opening it will say so.
    return {Destination::Kind::InPlace, -1, path};
}

FileIdentity identityOfDescriptor(int descriptor)
{
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        return {false, false, 0, 0, "descriptor " + std::to_string(descriptor)};
    }
    return {true, S_ISCHR(status.st_mode), status.st_dev, status.st_ino, {}};
}

FileIdentity identityOf(const Destination& destination)
{
    if (destination.kind == Destination::Kind::Descriptor) {
        return identityOfDescriptor(destination.descriptor);
    }
    struct stat status {};
    if (::stat(destination.path.c_str(), &status) == 0) {
        return {true, S_ISCHR(status.st_mode), status.st_dev, status.st_ino, {}};
    }
    // Nothing there yet: two names of one new file name one folder, however they reach it (a
    // link, a bind mount), and one name in it.
    if (::stat(folderOf(destination.path).c_str(), &status) == 0) {
        return {false, false, status.st_dev, status.st_ino, nameOf(destination.path)};
    }
    return {false, false, 0, 0, destination.path};
}

}  // namespace buffon
