#include "platform/ProgramPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#ifndef MARSHWADE_DATA_FROM_PROGRAM
#define MARSHWADE_DATA_FROM_PROGRAM "../share/games/marshwade"
#endif

namespace platform {
namespace {

struct Folders {
    std::string program;
    std::string data;
};

std::string ReadProgramDirectory() {
    std::vector<char> buffer(4096);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return "./";
    std::string path(buffer.data(), static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool HasClipFolder(const std::string& folder) {
    struct stat info {};
    return stat((folder + "CLP").c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// /proc/self/exe has no symbolic links left in it, so folding "games/../share" by name reaches the
// same folder the kernel would.
std::string InstalledDataDirectory(const std::string& program) {
    std::string folder =
        std::filesystem::path(program + MARSHWADE_DATA_FROM_PROGRAM).lexically_normal().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string ChooseDataDirectory(const std::string& program) {
    if (HasClipFolder(program)) return program;
    std::string installed = InstalledDataDirectory(program);
    return HasClipFolder(installed) ? installed : program;
}

Folders& Storage() {
    static Folders folders = [] {
        Folders f;
        f.program = ReadProgramDirectory();
        f.data = ChooseDataDirectory(f.program);
        return f;
    }();
    return folders;
}

// The folders of read-only data; everything else the game names lives beside the program.
bool IsReadOnlyData(std::string_view relative) {
    // "CLP@2x" and its like: the pictures drawn again for large screens.
    for (std::string_view folder : {"CLP\\", "WAV\\", "INI\\", "CLP/", "WAV/", "INI/", "CLP@"}) {
        if (relative.substr(0, folder.size()) == folder) return true;
    }
    return false;
}

}  // namespace

const std::string& ProgramDirectory() {
    return Storage().program;
}

const std::string& DataDirectory() {
    return Storage().data;
}

void SetProgramDirectoryForTesting(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    Folders& folders = Storage();
    folders.data = ChooseDataDirectory(directory);
    folders.program = std::move(directory);
}

std::string ResolveDataPath(std::string_view name) {
    if (name.empty()) return {};
    bool asGiven = name.front() == '/' || name.find(':') != std::string_view::npos ||
                   name.find("\\\\") != std::string_view::npos;
    if (asGiven) {
        std::string path(name);
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
    if (name.front() == '\\') name.remove_prefix(1);
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    return (IsReadOnlyData(name) ? DataDirectory() : ProgramDirectory()) + path;
}

}  // namespace platform
