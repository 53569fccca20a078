#pragma once
#include "platform/NativeEvent.h"
#include "platform/NativeWindow.h"

// The one window procedure of every engine window, on the main thread: finds the OWindow of the
// native window through its user data and the list of windows (a torn-down window is never
// reached), and lets it handle the event with its lock held.
platform::EventResult WindowProcedure(platform::NativeWindow& native, const platform::NativeEvent& event);
