#pragma once
#include <cstddef>
#include <thread>
#include <vector>

class GraphHost;
class OWindow;

// The list of all existing windows and the record of the application's main thread. Membership is
// the test of whether a window still exists. A pinned window is not deleted until it is unpinned:
// the main thread pins a window for the handling of each event, a dialog pins its parent while it
// reaches into it, and a window's teardown waits for the pins of others before deleting it.
// Safe from any thread; its lock is never held while a window lock is awaited.
namespace window_registry {
void Add(OWindow* window);
bool Contains(const OWindow* window);
// The same for a window known only as the host of drawables.
bool ContainsHost(const GraphHost* host);
size_t Count();
// Null when the window is not (or no longer) in the list.
OWindow* Pin(OWindow* window);
void Unpin(OWindow* window);
// Takes the window out of the list, then waits until no one else has it pinned.
void RemoveAndWait(OWindow* window);

// How many windows hold `window` pinned now.
size_t PinCount(const OWindow* window);
// Asks every window in the list to stop (their game threads then tear them down).
void RequestStopAll();

// The game threads that are running. A thread counts from just before it starts until its window has
// been torn down and deleted, so once the count is 0 no thread touches anything of the program.
void GameThreadStarted();
void GameThreadEnded();
size_t RunningGameThreads();
// Waits until every game thread has ended.
void WaitForGameThreads();

// The first window constructed records its thread as the main thread.
void RecordMainThread();
bool HasMainThread();
bool OnMainThread();
}  // namespace window_registry
