#include "platform/ShellOpen.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <thread>

extern char** environ;

namespace platform {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// The opener is our child: reaped on a thread of its own so that it leaves no zombie, and nothing
// waits for the browser it starts.
void ReapLater(pid_t child) {
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

bool IsWebLink(std::string_view link) {
    size_t host = 0;
    if (StartsWithNoCase(link, "https://"))
        host = 8;
    else if (StartsWithNoCase(link, "http://"))
        host = 7;
    else
        return false;
    if (link.size() <= host || link[host] == '/') return false;
    for (char c : link) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\') return false;
    }
    return true;
}

bool OpenWithXdgOpen(const std::string& target) {
    if (target.empty() || target[0] == '-') return false;
    // posix_spawn rather than fork: the game has threads, and a forked copy of a threaded process may
    // only call what is safe after fork. The opener gets a session of its own (a Ctrl+C in the
    // terminal that started the game does not reach the browser) and the default signal handling.
    posix_spawnattr_t attributes;
    if (::posix_spawnattr_init(&attributes) != 0) return false;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &all);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char program[] = "xdg-open";
    char* argv[] = {program, const_cast<char*>(target.c_str()), nullptr};
    pid_t child = 0;
    const int error = ::posix_spawnp(&child, program, nullptr, &attributes, argv, environ);
    ::posix_spawnattr_destroy(&attributes);
    if (error != 0) return false;
    ReapLater(child);
    return true;
}

}  // namespace platform
