// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/output_path.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
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

// The descriptor of this process a path names by the kernel's own names for them.
std::optional<int> descriptorNamed(std::string_view path)
{
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

}  // namespace

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
            const bool replaced = ::stat(at.c_str(), &status) != 0 || S_ISREG(status.st_mode);
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
    // Nothing there yet: two names of one new file differ at most in how they reach its folder.
    char* folder = ::realpath(folderOf(destination.path).c_str(), nullptr);
    FileIdentity identity{false, false, 0, 0, destination.path};
    if (folder != nullptr) {
        identity.path = std::string(folder) + '/' + nameOf(destination.path);
        std::free(folder);
    }
    return identity;
}

}  // namespace buffon
