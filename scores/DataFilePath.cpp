#include "scores/DataFilePath.h"

#include "platform/ProgramPath.h"

std::string DataFilePath(std::string_view name) {
    if (name.size() <= 1) return std::string(name);
    return platform::ResolveDataPath(name);
}
