// The file operations under the settings file, one implementation per
// system: reading it whole, following links to the file they name, and
// replacing it atomically (or, where its folder refuses, in place).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmark::platform::profile_store {

// What is kept of the replaced file: its permission bits on POSIX, its
// attributes on Windows.
struct FileMode {
  unsigned bits = 0;
};

// The new text of a file, as two pieces of the old one around a few new
// bytes, so that a big file is never copied in memory.
struct NewText {
  std::string_view head;
  std::string middle;
  std::string_view tail;
};

enum class ReadOutcome { kRead, kMissing, kFailed };
ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, FileMode& mode);

// The file a write goes to: `path`, or where the chain of links at `path`
// ends, which need not exist yet. Nothing for a loop or a link that cannot
// be read.
std::optional<std::string> FollowLinks(std::string path);

// Removes the temporaries that killed writes of this file left behind.
void RemoveStaleTemporaries(const std::string& path);

// Only a file that the user may write is ever replaced.
bool CanOpenForWriting(const std::string& path);

enum class Replacement { kDone, kFailed, kRefusedByFolder };
Replacement ReplaceFileAtomically(const std::string& path, const NewText& text, std::optional<FileMode> mode);

// For a file that its folder does not let be replaced: the same bytes,
// written over the old ones.
bool WriteInPlace(const std::string& path, const NewText& text);

}  // namespace quillmark::platform::profile_store
