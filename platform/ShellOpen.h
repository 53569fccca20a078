#pragma once
#include <string>

namespace platform {

// Opens a file or an address with the desktop's default program: `xdg-open target`, started
// without a shell (the target is one argument, whatever it holds) and not waited for. True once
// xdg-open is running; false when it could not be started (not installed, not executable, no
// process to spare), so the caller can say so. Any thread.
bool OpenWithXdgOpen(const std::string& target);

}  // namespace platform
