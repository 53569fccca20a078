#pragma once

// Moments of the program's life written to standard error for the measurement scripts (start-up,
// input latency): one line "marshwade-trace EVENT MICROSECONDS" each, the wall clock in microseconds
// since the epoch, so a script can set them against the moment it started the program. Only when the
// environment variable MARSHWADE_TRACE is set to something other than "0"; otherwise Mark costs one
// load of a flag that was read once. Any thread.
namespace platform::trace {

bool Enabled();
// `event` is a short word or two without a newline.
void Mark(const char* event);

// Tests only: turns the trace on or off whatever the environment says.
void SetEnabledForTesting(bool on);

}  // namespace platform::trace
