#include "scores/DataFileIo.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

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

// O_EXCL on a name of our own: a stale temporary file left by a crash is never reused, and a
// symbolic link planted under the name is never followed.
int CreateTemporary(const std::string& path, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncFolder(const std::string& path) {
    FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
}

}  // namespace

ReadResult ReadFileLimited(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) return ReadResult::Missing;
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

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temporaryPath;
    FileDescriptor file(CreateTemporary(path, temporaryPath));
    if (file.Get() < 0) return false;
    bool written = WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0;
    written = file.Close() && written;
    if (written) {
        if (AtomicWriteHook hook = writeHook.load()) hook(temporaryPath);
        written = ::rename(temporaryPath.c_str(), path.c_str()) == 0;
    }
    if (!written) {
        ::unlink(temporaryPath.c_str());
        return false;
    }
    SyncFolder(path);
    return true;
}

void SetAtomicWriteHookForTesting(AtomicWriteHook hook) {
    writeHook.store(hook);
}
