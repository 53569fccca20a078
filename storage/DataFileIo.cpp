#include "storage/DataFileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::atomic<AtomicWriteHook> writeHook{nullptr};

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr const char* kTemporaryMark = ".tmp";

// O_EXCL on a name of our own: a stale temporary file left by a crash is never reused, and a
// symbolic link planted under the name is never followed. The name carries our process id, so a
// later save can tell an abandoned file from one another running game is still writing.
int CreateTemporary(const std::string& path, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = path + kTemporaryMark + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process id in a temporary name of ours for `name` ("table.dat.tmp1234-7"), or 0 when the
// entry is something else.
pid_t TemporaryOwner(const std::string& entry, const std::string& name) {
    const std::string prefix = name + kTemporaryMark;
    if (entry.compare(0, prefix.size(), prefix) != 0) return 0;
    size_t at = prefix.size();
    const size_t pidStart = at;
    while (at < entry.size() && entry[at] >= '0' && entry[at] <= '9') ++at;
    if (at == pidStart || at - pidStart > 9 || at >= entry.size() || entry[at] != '-') return 0;
    const size_t counterStart = ++at;
    while (at < entry.size() && entry[at] >= '0' && entry[at] <= '9') ++at;
    if (at == counterStart || at != entry.size()) return 0;
    return static_cast<pid_t>(std::atol(entry.substr(pidStart, counterStart - 1 - pidStart).c_str()));
}

// Removes the temporary files of earlier saves of `path` whose writer has died (a crash between
// writing and renaming). Files of a live process are left alone: another game may be saving.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path), name = NameOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = TemporaryOwner(entry->d_name, name);
        if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH) stale.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& entry : stale) ::unlink((folder + "/" + entry).c_str());
}

// The file a save of `path` must replace: a symbolic link is followed to its target, so the link
// stays and its target gets the new content. False for a loop of links.
bool FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        std::vector<char> buffer(4096);
        const ssize_t n = ::readlink(target.c_str(), buffer.data(), buffer.size());
        if (n <= 0 || size_t(n) >= buffer.size()) return false;
        std::string next(buffer.data(), size_t(n));
        if (next.front() != '/') next = FolderOf(target) + "/" + next;
        target = next;
    }
    return false;
}

void SyncFolder(const std::string& path) {
    FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
}

}  // namespace

ReadResult ReadFileLimited(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) return ReadResult::Failed;
    if (!S_ISREG(info.st_mode)) return ReadResult::NotRegularFile;
    char chunk[10240];
    for (;;) {
        ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            bytes.clear();
            return ReadResult::Failed;
        }
        if (n == 0) return ReadResult::Ok;
        if (size_t(n) > maxBytes - bytes.size()) {
            bytes.clear();
            return ReadResult::TooLarge;
        }
        bytes.append(chunk, size_t(n));
    }
}

std::string ReadFailureText(ReadResult result, int error) {
    switch (result) {
        case ReadResult::Ok:
            return "read";
        case ReadResult::Missing:
            return "no such file";
        case ReadResult::TooLarge:
            return "larger than any data file";
        case ReadResult::NotRegularFile:
            return "not a regular file";
        case ReadResult::Failed:
            break;
    }
    return std::strerror(error);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target;
    if (!FollowLinks(path, target)) {
        errno = ELOOP;
        return false;
    }
    RemoveStaleTemporaries(target);
    // The new file takes the old one's permissions: a player who made the table private keeps it so.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // Never a FIFO, a device or a folder: a link to /dev/zero must not turn it into a file.
    if (exists && !S_ISREG(old.st_mode)) {
        errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    const bool replacing = exists;

    std::string temporaryPath;
    FileDescriptor file(CreateTemporary(target, temporaryPath));
    if (file.Get() < 0) return false;
    bool written = WriteAll(file.Get(), bytes);
    if (written && replacing) written = ::fchmod(file.Get(), old.st_mode & 07777) == 0;
    written = written && ::fsync(file.Get()) == 0;
    written = file.Close() && written;
    if (written) {
        if (AtomicWriteHook hook = writeHook.load()) hook(temporaryPath);
        written = ::rename(temporaryPath.c_str(), target.c_str()) == 0;
    }
    if (!written) {
        const int reason = errno;  // for the caller's report
        ::unlink(temporaryPath.c_str());
        errno = reason;
        return false;
    }
    SyncFolder(target);
    return true;
}

void SetAtomicWriteHookForTesting(AtomicWriteHook hook) {
    writeHook.store(hook);
}
