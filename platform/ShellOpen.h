#pragma once
#include <string>
#include <string_view>

namespace platform {

// Opens a file or an address with the desktop's default program: `xdg-open target`, started
// without a shell (the target is one argument, whatever it holds) and not waited for. True once
// xdg-open is running; false when it could not be started (not installed, not executable, no
// process to spare) or when the target would read as an option (it starts with '-': xdg-open takes
// no "--" to end its options), so the caller can say so. Any thread.
bool OpenWithXdgOpen(const std::string& target);

// True for an address a settings file may send to the browser: http:// or https:// (in any case)
// followed by a host, with no blank, control character, quote, angle bracket or backslash that would
// split or bend the link. Anything else in a link setting is refused rather than handed to the
// desktop, which would open files or programs by other schemes.
bool IsWebLink(std::string_view link);

}  // namespace platform
