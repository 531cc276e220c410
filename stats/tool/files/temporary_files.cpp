// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/files/temporary_files.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <random>
#include <vector>

namespace buffon {
namespace {

// A signal handler may do little more than read memory and unlink: a fixed table of names,
// each in its folder's descriptor.
constexpr int kMostTemporaries = 16;
struct Temporary {
    int folder;
    char name[NAME_MAX + 1];
};
Temporary gTemporaries[kMostTemporaries];
volatile std::sig_atomic_t gInUse[kMostTemporaries];

// The asynchronous signals whose default is to end the program; faults of the program's own
// (a bad address, an abort) are left to the debugger.
std::vector<int> endingSignals()
{
    std::vector<int> signals{SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGUSR1,
                             SIGUSR2, SIGALRM, SIGPIPE,   SIGPOLL, SIGPROF,
                             SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPWR,  SIGSTKFLT};
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) {
        signals.push_back(signal);
    }
    return signals;
}

void removeTemporaries(int signal)
{
    for (int i = 0; i < kMostTemporaries; ++i) {
        if (gInUse[i]) {
            ::unlinkat(gTemporaries[i].folder, gTemporaries[i].name, 0);
        }
    }
    // The handler was reset to the default on entry and the signal is not blocked inside it,
    // so raising it again ends the program as the signal would have.
    ::raise(signal);
}

// The signals this program handles, once it has a temporary to remove.
const sigset_t& handledSignals()
{
    static const sigset_t handled = [] {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : endingSignals()) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
                continue;
            }
            struct sigaction removing {};
            removing.sa_handler = removeTemporaries;
            removing.sa_flags = SA_RESETHAND | SA_NODEFER;
            sigfillset(&removing.sa_mask);
            ::sigaction(signal, &removing, nullptr);
            sigaddset(&set, signal);
        }
        return set;
    }();
    return handled;
}

// The temporary's name: a dot, the target's name cut short enough that the whole fits the
// longest name a folder takes, and six random characters.
std::string temporaryName(const std::string& target)
{
    constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr std::size_t kLongestName = NAME_MAX - std::char_traits<char>::length("..XXXXXX");
    std::string temporary = '.' + target.substr(0, std::min(target.size(), kLongestName)) + '.';
    static std::mt19937 random(std::random_device{}());
    for (int i = 0; i < 6; ++i) {
        temporary += kLetters[random() % (sizeof kLetters - 1)];
    }
    return temporary;
}

// A new file of that name, made as the shell's `>` makes one: the mode 0666 less the umask, or
// what the folder's default access list says.
int createUnder(int folder, const std::string& target, std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(target);
        const int fd =
            ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

int createTemporary(int folder, const std::string& target, std::string& name)
{
    // No signal may come between the file's creation and its entry in the table.
    sigset_t previous;
    ::pthread_sigmask(SIG_BLOCK, &handledSignals(), &previous);
    const int fd = createUnder(folder, target, name);
    const int error = errno;
    for (int i = 0; fd >= 0 && i < kMostTemporaries; ++i) {
        if (!gInUse[i]) {
            gTemporaries[i].folder = folder;
            std::memcpy(gTemporaries[i].name, name.c_str(), name.size() + 1);
            gInUse[i] = 1;
            break;
        }
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return fd;
}

void forgetTemporary(int folder, const std::string& name)
{
    for (int i = 0; i < kMostTemporaries; ++i) {
        if (gInUse[i] && gTemporaries[i].folder == folder && name == gTemporaries[i].name) {
            gInUse[i] = 0;
        }
    }
}

void removeTemporary(int folder, const std::string& name)
{
    ::unlinkat(folder, name.c_str(), 0);
    forgetTemporary(folder, name);
}

}  // namespace buffon
