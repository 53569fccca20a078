#include "storage/DataFilePath.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProgramPath.h"

namespace {
std::mutex overrideMutex;
std::optional<std::string> savedFilesOverride;  // guarded by overrideMutex
}  // namespace

namespace {

// -1: ask the file system; 0 or 1: the answer a test chose.
std::atomic<int> writableOverride{-1};

bool ProgramFolderWritable() {
    const int chosen = writableOverride.load();
    if (chosen >= 0) return chosen == 1;
    // A save writes a temporary file beside the old one and renames it, so the folder itself must
    // take new entries.
    return ::access(platform::ProgramDirectory().c_str(), W_OK | X_OK) == 0;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir)
        return found->pw_dir;
    return {};
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool MakeFolders(const std::string& folder) {
    // Each level in turn, so missing parents (~/.local/share on a fresh account) are made too.
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/') continue;
        const std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string UserDataFolder() {
    // XDG_DATA_HOME must be an absolute path; a relative one is ignored, as desktop programs do.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/marshwade";
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    return home + "/.local/share/marshwade";
}

// Beside the program only where it runs with its data beside it (a build folder): an installed
// game's folder belongs to the package manager, even when root runs the game and could write it.
bool SavesBesideProgram() {
    return platform::DataDirectory() == platform::ProgramDirectory() && ProgramFolderWritable();
}

std::string SavedFilesFolder() {
    {
        std::lock_guard lock(overrideMutex);
        if (savedFilesOverride) return *savedFilesOverride;
    }
    if (SavesBesideProgram()) return platform::ProgramDirectory();
    const std::string folder = UserDataFolder();
    // Without any home folder there is nowhere better than the program folder; the save then
    // fails and says so.
    return folder.empty() ? platform::ProgramDirectory() : folder + "/";
}

std::string DataFilePath(std::string_view name) {
    if (name.size() <= 1) return std::string(name);
    const bool asGiven = name.front() == '/' || name.find(':') != std::string_view::npos ||
                         name.find("\\\\") != std::string_view::npos;
    std::string path(name);
    if (!asGiven && path.front() == '\\') path.erase(0, 1);
    std::replace(path.begin(), path.end(), '\\', '/');
    return asGiven ? path : SavedFilesFolder() + path;
}

bool PrepareFolderFor(const std::string& path) {
    const std::string folder = UserDataFolder();
    if (folder.empty() || FolderOf(path) != folder) return true;
    if (MakeFolders(folder)) return true;
    std::fprintf(stderr, "%s: could not create the folder: %s\n", folder.c_str(), std::strerror(errno));
    return false;
}

void OverrideSavedFilesFolder(std::optional<std::string> folder) {
    std::lock_guard lock(overrideMutex);
    if (folder && !folder->empty() && folder->back() != '/') folder->push_back('/');
    savedFilesOverride = std::move(folder);
}

void SetProgramFolderWritableForTesting(std::optional<bool> writable) {
    writableOverride.store(writable ? (*writable ? 1 : 0) : -1);
}
