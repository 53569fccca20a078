#include "engine/WindowProcedure.h"

#include "engine/OWindow.h"
#include "engine/WindowRegistry.h"

platform::EventResult WindowProcedure(platform::NativeWindow& native, const platform::NativeEvent& event) {
    OWindow* window = window_registry::Pin(static_cast<OWindow*>(native.UserData()));
    if (!window) return platform::EventResult::Default;
    platform::EventResult result = window->HandleNativeEvent(event);
    window_registry::Unpin(window);
    return result;
}
