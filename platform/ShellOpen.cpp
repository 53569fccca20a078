#include "platform/ShellOpen.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool OpenWithXdgOpen(const std::string& target) {
    // A pipe closed by a successful exec: the opener writes its errno into it only when the exec
    // failed, so an empty pipe means xdg-open is running.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // The child forks the opener and leaves at once, so the opener is nobody's zombie.
        ::close(report[0]);
        const pid_t opener = ::fork();
        if (opener == 0) {
            ::setsid();
            ::execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
            const int error = errno;
            [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(opener < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    do n = ::read(report[0], &error, sizeof error);
    while (n < 0 && errno == EINTR);
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

}  // namespace platform
