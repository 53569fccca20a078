#include "platform/ProgramPath.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::string ReadProgramDirectory() {
    std::vector<char> buffer(4096);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return "./";
    std::string path(buffer.data(), static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string& DirectoryStorage() {
    static std::string directory = ReadProgramDirectory();
    return directory;
}

}  // namespace

const std::string& ProgramDirectory() { return DirectoryStorage(); }

void SetProgramDirectoryForTesting(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    DirectoryStorage() = std::move(directory);
}

std::string ResolveDataPath(std::string_view name) {
    if (name.empty()) return {};
    bool asGiven = name.front() == '/' || name.find(':') != std::string_view::npos ||
                   name.find("\\\\") != std::string_view::npos;
    std::string path(name);
    if (!asGiven && path.front() == '\\') path.erase(0, 1);
    std::replace(path.begin(), path.end(), '\\', '/');
    return asGiven ? path : ProgramDirectory() + path;
}

}  // namespace platform
