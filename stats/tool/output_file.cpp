// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <utility>

namespace buffon {
namespace {

QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Where a path leads: the file itself through any links when it exists, else the resolved
// folder with the name, else the path made absolute.
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists()) {
        return info.canonicalFilePath();
    }
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

// A temporary file of ours beside `target`, open for writing: its descriptor, or -1 with errno.
int makeTemporary(const QString& target, QString& name)
{
    const QFileInfo info(target);
    QByteArray pattern =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
        name = QFile::decodeName(pattern);
    }
    return fd;
}

// The temporary files being written, for the signal handler below to remove: a fixed table,
// since a signal handler may do little more than read memory and unlink.
constexpr int kMostTemporaries = 8;
char gTemporaries[kMostTemporaries][PATH_MAX];
volatile std::sig_atomic_t gInUse[kMostTemporaries];

void removeTemporaries(int signal)
{
    for (int i = 0; i < kMostTemporaries; ++i) {
        if (gInUse[i]) {
            ::unlink(gTemporaries[i]);
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// An interrupted run (Ctrl-C, a terminal closed, a kill) leaves no partial file behind.
int registerTemporary(const QString& name)
{
    static const bool handled = [] {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            std::signal(signal, removeTemporaries);
        }
        return true;
    }();
    Q_UNUSED(handled);
    const QByteArray native = QFile::encodeName(name);
    for (int i = 0; i < kMostTemporaries; ++i) {
        if (!gInUse[i] && native.size() < PATH_MAX) {
            std::memcpy(gTemporaries[i], native.constData(), std::size_t(native.size()) + 1);
            gInUse[i] = 1;
            return i;
        }
    }
    return -1;
}

}  // namespace

OutputFile::OutputFile(QString path) : path_(std::move(path)) {}

OutputFile::~OutputFile()
{
    if (fd_ > STDERR_FILENO) {
        ::close(fd_);
    }
    if (!temporary_.isEmpty()) {
        ::unlink(QFile::encodeName(temporary_).constData());
    }
    if (slot_ >= 0) {
        gInUse[slot_] = 0;
    }
}

QString OutputFile::probe() const
{
    if (isStandardOutput()) {
        return {};
    }
    struct stat status {};
    if (::stat(QFile::encodeName(path_).constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return reasonOf(EISDIR);
        }
        if (!S_ISREG(status.st_mode)) {
            return ::access(QFile::encodeName(path_).constData(), W_OK) == 0 ? QString()
                                                                             : reasonOf(errno);
        }
    } else if (errno != ENOENT) {
        return reasonOf(errno);
    }
    QString name;
    const int fd = makeTemporary(resolved(path_), name);
    if (fd < 0) {
        return reasonOf(errno);
    }
    ::close(fd);
    ::unlink(QFile::encodeName(name).constData());
    return {};
}

bool OutputFile::open()
{
    if (isStandardOutput()) {
        fd_ = STDOUT_FILENO;
        return true;
    }
    const QString target = resolved(path_);
    const QByteArray native = QFile::encodeName(target);
    struct stat status {};
    const bool exists = ::stat(native.constData(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        fd_ = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
        return fd_ >= 0 || fail(errno);
    }
    fd_ = makeTemporary(target, temporary_);
    if (fd_ < 0) {
        return fail(errno);
    }
    slot_ = registerTemporary(temporary_);
    // The replacement keeps the replaced file's permissions; a new file gets the usual ones.
    mode_t mode = exists ? status.st_mode & 07777 : 0666;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    return ::fchmod(fd_, mode) == 0 || fail(errno);
}

bool OutputFile::write(std::string_view bytes)
{
    while (error_.isEmpty() && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            return fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(written, 0)));
    }
    return error_.isEmpty();
}

bool OutputFile::commit()
{
    if (!error_.isEmpty()) {
        return false;
    }
    if (temporary_.isEmpty()) {
        const int fd = std::exchange(fd_, -1);
        return fd <= STDERR_FILENO || ::close(fd) == 0 || fail(errno);
    }
    // A disk may report that it is full only when the data is forced onto it.
    if (::fsync(fd_) != 0 || ::close(std::exchange(fd_, -1)) != 0) {
        return fail(errno);
    }
    const QString target = resolved(path_);
    if (::rename(QFile::encodeName(temporary_).constData(),
                 QFile::encodeName(target).constData()) != 0) {
        return fail(errno);
    }
    temporary_.clear();
    if (slot_ >= 0) {
        gInUse[std::exchange(slot_, -1)] = 0;
    }
    return true;
}

bool OutputFile::fail(int error)
{
    if (error_.isEmpty()) {
        error_ = reasonOf(error);
    }
    return false;
}

bool sameFile(const QString& first, const QString& second)
{
    if (first == QLatin1String("-") || second == QLatin1String("-")) {
        return first == second;
    }
    struct stat one {};
    struct stat other {};
    if (::stat(QFile::encodeName(first).constData(), &one) == 0 &&
        ::stat(QFile::encodeName(second).constData(), &other) == 0) {
        return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
    }
    return resolved(first) == resolved(second);
}

}  // namespace buffon
