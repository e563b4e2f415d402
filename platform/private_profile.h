// Private-profile (INI) files with the Windows semantics the settings store
// relies on.
//
// The file format as read and written here:
// - Lines end in LF or CR LF; the last line may lack its line end, or its
//   LF only (a CR that ends the file ends the line). A UTF-8
//   byte-order mark at the start of the file is ignored for matching and kept.
// - "[name]" is a section header (blanks around the line and the name are
//   ignored, text after the "]" too). "key=value" is a key of the section
//   above it (blanks around the key ignored; the value is everything after
//   the first "="). A line whose first non-blank byte is ";" is a comment.
//   Keys above the first section header belong to no section and are never
//   matched. Any other line is kept and otherwise ignored.
// - Section and key names match without regard to ASCII case, and blanks
//   around the names given to the functions are ignored as in the file. When
//   a section or a key appears twice, the first one counts.
#pragma once

// <windows.h> maps these names to its own W functions; here they name ours.
#undef GetPrivateProfileString
#undef WritePrivateProfileString

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark::platform {

// The most bytes of a value a read returns, as the settings buffer holds.
inline constexpr std::size_t kMaxProfileValueBytes = 4095;

// A profile file read once, for many lookups: its bytes are held as they
// are, and each lookup walks them again without storing lines, so the
// reader holds the file's size and a constant, however many lines it has.
// A missing file, or one that cannot be read (no regular file at `path`, a
// read error), reads as empty: every key gives its default. Later changes
// to the file are not seen.
class PrivateProfileReader {
 public:
  // Reads the whole file. Throws std::bad_alloc when its bytes do not fit in
  // memory; the caller decides what a settings file that big means.
  explicit PrivateProfileReader(const std::string& path);

  // The value of `key` in `section`: the text after "=" with surrounding
  // blanks removed and then one pair of enclosing double quotes removed,
  // cut to kMaxProfileValueBytes. `defaultValue` when the section or the
  // key is missing.
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

 private:
  std::string bytes_;
};

// The value of `key` in `section` of the file at `path`, as
// PrivateProfileReader(path).GetString(section, key, defaultValue) gives it:
// the file is read anew for every call, so a reader serves many keys better.
// Throws std::bad_alloc as the reader does.
std::string GetPrivateProfileString(const std::string& path, std::string_view section, std::string_view key,
                                    std::string_view defaultValue);

// Stores `value` as `key` in `section` of the file at `path`, creating the
// file when it is missing:
// - the first matching key line keeps its bytes up to and including "=" and
//   its line end, and gets the new value in between;
// - a key missing from its section is added directly after the section's
//   last key line (after the header when the section has no key);
// - a missing section is added with the key at the end of the file, with no
//   blank line before it.
// Every other line is kept byte for byte. New lines end like the file's
// first line (CR LF or LF; LF for a new file); a last line without a line end
// gets one when a line is added after it. The value is stored as its bytes,
// without quoting; the format cannot hold a line break, so the value is cut
// at its first CR or LF. A name that the format cannot hold (an empty key, a
// line break in either name, "=" in the key or a key that would read as a
// comment or header, "]" in the section) is refused.
//
// Where the write goes: a symbolic link at `path` is followed, through a
// chain of links (a relative target is relative to its link's folder), and
// stays; the file at its end is written, and created when it is missing. A
// loop of links (more than 40 in a row) fails the write.
//
// Before writing, temporary files that earlier writes of this same file left
// behind when they were killed are removed: names "<file>.tmp.<pid>.<n>"
// (decimal digits only) beside it whose process <pid> no longer exists.
// Nothing else is touched.
//
// An existing file is written only when the user may write it: it is opened
// for writing (without truncating it, and closed at once) first, and when
// that fails (a read-only file, another user's file, a read-only file
// system) the write fails and the file stays byte for byte.
//
// The file is replaced atomically: the new text goes to a temporary file
// beside it, is flushed to disk and renamed over the old one, which keeps
// its permission bits (the file then belongs to the user who wrote it). On
// any failure the temporary file is removed and the old file is left as it
// was. Only when the folder refuses this (it will not take the temporary
// file with EACCES, EPERM or EROFS, or a sticky folder will not let it
// replace another user's file) is an existing file written in place
// instead: its bytes are overwritten, it is cut to the new length and
// flushed. That is not atomic: a crash or a full disk during that write
// can leave the file damaged. The temporary file is always tried first.
//
// False on failure (a missing or unwritable folder for a new file, a full
// disk, a file at `path` that cannot be read or may not be written, a link
// loop, a name refused above). Throws std::bad_alloc when the file's bytes do
// not fit in memory; the old file is then untouched.
bool WritePrivateProfileString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value);

}  // namespace quillmark::platform
