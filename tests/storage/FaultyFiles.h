#pragma once
// Data files that are there but cannot be read, and saves that cannot be written, made for real on
// the file system, plus a snapshot to prove that a file was left exactly as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace faulty_files {

namespace fs = std::filesystem;

enum class Fault {
    Fifo,            // a named pipe: reading it would wait for a writer for ever
    Folder,          // a folder where the file should be
    Device,          // the zero device, which never ends
    NoAccess,        // mode 000 (root reads it all the same)
    TooLarge,        // larger than any data file
    ReadOnlyFolder,  // readable, but its folder takes no new file (root writes it all the same)
    NameTooLong,     // a link to a file whose name leaves no room for a temporary name beside it
};

struct FaultCase {
    const char* name;
    Fault fault;
    bool unreadable;  // the load fails; otherwise only the save does
};

inline const FaultCase kFaultCases[] = {
    {"Fifo", Fault::Fifo, true},
    {"Folder", Fault::Folder, true},
    {"Device", Fault::Device, true},
    {"NoAccess", Fault::NoAccess, true},
    {"TooLarge", Fault::TooLarge, true},
    {"ReadOnlyFolder", Fault::ReadOnlyFolder, false},
    {"NameTooLong", Fault::NameTooLong, false},
};

// A failed case is named in the report, not dumped as bytes.
inline void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

// The cases whose file cannot be read.
inline std::vector<FaultCase> UnreadableCases() {
    std::vector<FaultCase> cases;
    for (const FaultCase& c : kFaultCases)
        if (c.unreadable) cases.push_back(c);
    return cases;
}

// The case's name in the test's name.
inline std::string CaseName(const ::testing::TestParamInfo<FaultCase>& param) {
    return param.param.name;
}

// Why `fault` cannot be made for this user, or empty when it can.
inline std::string Unavailable(Fault fault) {
    if ((fault == Fault::NoAccess || fault == Fault::ReadOnlyFolder) && ::geteuid() == 0)
        return "file modes do not stop root";
    if (fault == Fault::Device && ::geteuid() == 0) {
        const fs::path probe = fs::temp_directory_path() / ("marshwade-device-" + std::to_string(::getpid()));
        const bool made = ::mknod(probe.c_str(), S_IFCHR | 0644, ::makedev(1, 5)) == 0;
        fs::remove(probe);
        if (!made) return "root may not make a device node here";
    }
    return {};
}

// Puts the fault at `path`. `goodFile` is the content of a readable data file, for the faults that
// need one (ReadOnlyFolder, NameTooLong), and is written as the file is when there is one.
inline void Make(Fault fault, const fs::path& path, const std::string& goodFile) {
    auto write = [](const fs::path& at, const std::string& bytes) {
        std::ofstream(at, std::ios::binary) << bytes;
    };
    switch (fault) {
        case Fault::Fifo:
            ::mkfifo(path.c_str(), 0644);
            break;
        case Fault::Folder:
            fs::create_directory(path);
            break;
        case Fault::Device:
            // Root gets a device of its own (the endless zero device), so that a save which wrongly
            // replaced it would replace only this node and never the system's /dev/zero; no one else
            // can replace /dev/zero, so a link to it serves them.
            if (::geteuid() == 0)
                ::mknod(path.c_str(), S_IFCHR | 0644, ::makedev(1, 5));
            else
                fs::create_symlink("/dev/zero", path);
            break;
        case Fault::NoAccess:
            write(path, goodFile);
            fs::permissions(path, fs::perms::none);
            break;
        case Fault::TooLarge:
            write(path, goodFile);
            fs::resize_file(path, 2u << 20);
            break;
        case Fault::ReadOnlyFolder:
            write(path, goodFile);
            fs::permissions(path.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
            break;
        case Fault::NameTooLong: {
            const fs::path real = path.parent_path() / std::string(250, 'n');
            write(real, goodFile);
            fs::create_symlink(real, path);
            break;
        }
    }
}

// Gives the folder of `path` back its rights, so that the test's folder can be removed.
inline void Undo(const fs::path& path) {
    fs::permissions(path.parent_path(), fs::perms::owner_all);
    // Never through a link: the Device fault points at /dev/zero.
    std::error_code ignored;
    if (fs::symlink_status(path, ignored).type() == fs::file_type::regular)
        fs::permissions(path, fs::perms::owner_all, ignored);
}

// What lies at `path`, links followed: its kind, and for a file its mode and every byte.
inline std::string Snapshot(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return "missing";
    if (S_ISFIFO(info.st_mode)) return "fifo";
    if (S_ISDIR(info.st_mode))
        return "folder " +
               std::to_string(std::distance(fs::directory_iterator(path), fs::directory_iterator()));
    if (S_ISCHR(info.st_mode)) return "device";
    // The inode and the change time show a file replaced or rewritten even where it cannot be read.
    std::string text = "file " + std::to_string(info.st_mode & 07777) + " " + std::to_string(info.st_size) +
                       " " + std::to_string(info.st_ino) + " " + std::to_string(info.st_ctim.tv_nsec) + " ";
    // Past the mode: read as the owner would after giving themselves the right to.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    char chunk[4096];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, chunk, sizeof chunk)) > 0;) text.append(chunk, size_t(n));
    if (fd >= 0) ::close(fd);
    return text;
}

}  // namespace faulty_files
