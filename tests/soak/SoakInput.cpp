#include "tests/soak/SoakInput.h"

#include <array>

#include "engine/OWindow.h"
#include "engine/VirtualKey.h"
#include "graphics/OGraph.h"

using platform::NativeEventType;

namespace {
constexpr int kPauseKey = 'P';
}  // namespace

void SoakInput::Send(OWindow& window, NativeEventType type, int code, int x, int y) {
    windows_.Send(window, type, code, x, y);
}

int SoakInput::RandomKey() {
    static constexpr std::array<int, 16> kKeys{
        vk::kLeft,  vk::kUp,   vk::kRight, vk::kDown,   vk::kLeft, vk::kUp,     vk::kRight,     vk::kDown,
        vk::kSpace, kPauseKey, vk::kEnter, vk::kEscape, vk::kTab,  vk::kDelete, vk::kBackspace, vk::kHome};
    switch (Below(10)) {
        case 0:
            return 'A' + Below(26);
        case 1:
            return Below(256);  // any code at all, also those no one handles
        case 2:
            return vk::kEnd;
        default:
            return kKeys[static_cast<size_t>(Below(static_cast<int>(kKeys.size())))];
    }
}

void SoakInput::Key(OWindow& window, int code) {
    windows_.Key(window, code);
}

void SoakInput::Click(OWindow& window, int x, int y, int button) {
    windows_.Click(window, x, y, button);
}

void SoakInput::Focus(OWindow& window, bool on) {
    windows_.Focus(window, on);
}

void SoakInput::Type(OWindow& window, int count) {
    for (int i = 0; i < count; ++i) {
        // Mostly letters and spaces; now and then any byte of the code page, controls included.
        const int c = Below(8) == 0 ? Below(256) : Below(5) == 0 ? ' ' : 'a' + Below(26);
        Send(window, NativeEventType::Char, c, 0, 0);
    }
}

void SoakInput::ClickControl(OWindow& window, size_t index) {
    if (index >= window.Controls().size()) return;
    const ORect b = window.Controls()[index]->Bounds();
    const int w = std::max(1, b.right - b.left), h = std::max(1, b.bottom - b.top);
    // The middle mostly, an edge sometimes: the first and last pixels inside, and the first outside.
    int x = b.left + w / 2, y = b.top + h / 2;
    if (Below(4) == 0) {
        x = b.left + (Below(2) ? -1 : w) * Below(2);
        y = b.top + Below(h);
    }
    Click(window, x, y, Below(10) == 0 ? vk::kRightButton : vk::kLeftButton);
}

void SoakInput::Drag(OWindow& window) {
    const int w = window.Width(), h = window.Height();
    int x = Below(w), y = Below(h);
    Send(window, NativeEventType::MouseMove, 0, x, y);
    Send(window, NativeEventType::ButtonDown, vk::kLeftButton, x, y);
    for (int i = Below(4); i >= 0; --i) {
        x += Below(81) - 40;
        y += Below(81) - 40;
        Send(window, NativeEventType::MouseMove, 0, x, y);
    }
    Send(window, NativeEventType::ButtonUp, vk::kLeftButton, x, y);
}

void SoakInput::Anything(OWindow& window) {
    const int w = window.Width(), h = window.Height();
    switch (Below(20)) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
            Key(window, RandomKey());
            break;
        case 6:
            // A key that goes down without coming up, or comes up unpressed.
            Send(window, Below(2) ? NativeEventType::KeyDown : NativeEventType::KeyUp, RandomKey(), 0, 0);
            break;
        case 7:
            Type(window, 1 + Below(3));
            break;
        case 8:
        case 9:
        case 10:
        case 11: {
            static constexpr int kButtons[] = {vk::kLeftButton, vk::kLeftButton, vk::kLeftButton,
                                               vk::kRightButton, vk::kMiddleButton};
            Click(window, Below(w + 20) - 10, Below(h + 20) - 10, kButtons[Below(5)]);
            break;
        }
        case 12:
        case 13:
        case 14:
            if (!window.Controls().empty())
                ClickControl(window, static_cast<size_t>(Below(static_cast<int>(window.Controls().size()))));
            break;
        case 15:
            Drag(window);
            break;
        case 16:
            Send(window, NativeEventType::MouseMove, 0, Below(w), Below(h));
            break;
        case 17:
            Focus(window, Below(3) != 0);
            break;
        case 18:
            Send(window, Below(2) ? NativeEventType::Exposed : NativeEventType::CaptureLost, 0, 0, 0);
            break;
        default:
            if (Below(10) == 0) Send(window, NativeEventType::Close, 0, 0, 0);
            break;
    }
}

void SoakInput::Answer(OWindow& dialog) {
    switch (Below(12)) {
        case 0:
        case 1:
            Key(dialog, vk::kEscape);
            break;
        case 2:
        case 3:
            Key(dialog, vk::kEnter);
            break;
        case 4:
            Key(dialog, vk::kTab);
            Key(dialog, Below(2) ? vk::kEnter : vk::kSpace);
            break;
        case 5:
            Type(dialog, 1 + Below(12));
            for (int i = Below(3); i > 0; --i) Key(dialog, Below(2) ? vk::kBackspace : vk::kLeft);
            break;
        case 6:
            Send(dialog, NativeEventType::Close, 0, 0, 0);
            break;
        case 7:
            Click(dialog, Below(dialog.Width()), Below(dialog.Height()), vk::kLeftButton);
            break;
        default:
            if (!dialog.Controls().empty())
                ClickControl(dialog, static_cast<size_t>(Below(static_cast<int>(dialog.Controls().size()))));
            break;
    }
}
