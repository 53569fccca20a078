#include "ui/ControlEvents.h"

namespace {
void Add(ControlEventList& list, int code) {
    if (list.count < list.codes.size()) list.codes[list.count++] = code;
}
}  // namespace

ControlEventList ControlEventsFor(uint32_t before, uint32_t after) {
    ControlEventList list;
    const uint32_t changed = before ^ after;
    if (changed & ControlState::Hover)
        Add(list, (after & ControlState::Hover) ? ControlEvent::MouseEnter : ControlEvent::MouseLeave);
    if (changed & ControlState::Pressed) {
        if (after & ControlState::Pressed) {
            Add(list, ControlEvent::ButtonDown);
        } else {
            Add(list, ControlEvent::ButtonUp);
            if (after & ControlState::Hover) Add(list, ControlEvent::Click);
        }
    }
    if (changed & ControlState::KeyDown) {
        if (after & ControlState::KeyDown) {
            Add(list, ControlEvent::KeyPress);
        } else {
            Add(list, ControlEvent::KeyRelease);
            if (after & ControlState::Focused) Add(list, ControlEvent::Click);
        }
    }
    if (changed & ControlState::Focused)
        Add(list, (after & ControlState::Focused) ? ControlEvent::FocusIn : ControlEvent::FocusOut);
    if (changed & ControlState::Captured)
        Add(list, (after & ControlState::Captured) ? ControlEvent::CaptureIn : ControlEvent::CaptureOut);
    return list;
}
