#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Whole-file reading with a size limit, and saving that never loses the previous file.

// Only Missing means "nothing there": every other failure leaves a file that may hold something the
// player cares about, which a caller must not save over.
enum class ReadResult { Ok, Missing, TooLarge, NotRegularFile, Failed };

// Reads the whole file into bytes, but never more than maxBytes: a larger file gives TooLarge and
// an empty result without being read in whole. Missing is a file that does not exist (ENOENT) and
// nothing else; a failed open, fstat or read gives Failed with errno set. The file is opened without
// blocking and must be a regular file: a FIFO, a device or a folder gives NotRegularFile at once,
// so nothing waits on a writer that never comes.
ReadResult ReadFileLimited(const std::string& path, size_t maxBytes, std::string& bytes);

// Why a read did not give the file, for a message: "Permission denied", "not a regular file"...
// `error` is the errno that ReadFileLimited left for Failed.
std::string ReadFailureText(ReadResult result, int error);

// Writes bytes to a fresh temporary file in the same folder, flushes it to disk, then renames it
// over path (and flushes the folder). A crash, a full disk or a failed write at any point leaves
// the previous file whole. Returns false when the new content did not replace the old.
// - A symbolic link at path is followed: its target is replaced and the link stays a link.
// - Only a regular file is replaced: a FIFO, a device or a folder there fails the save.
// - The new file keeps the permissions of the file it replaces.
// - Temporary files that an earlier save of the same file left behind when its process died are
//   removed first; those of a process still running are not touched.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Tests simulate a crash in the middle of a save: the hook runs after the temporary file is
// complete and on disk, just before the rename. Pass nullptr to remove it.
using AtomicWriteHook = void (*)(const std::string& temporaryPath);
void SetAtomicWriteHookForTesting(AtomicWriteHook hook);
