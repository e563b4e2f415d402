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

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark::platform {

// The most bytes of a value a read returns, as the settings buffer holds.
inline constexpr std::size_t kMaxProfileValueBytes = 4095;

// The value of `key` in `section` of the file at `path`: the text after "="
// with surrounding blanks removed and then one pair of enclosing double
// quotes removed, cut to kMaxProfileValueBytes. `defaultValue` when the file
// (or a regular file at `path`), the section or the key is missing.
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
// The file is replaced atomically: the new text goes to a temporary file
// beside it, is flushed to disk and renamed over the old one, which keeps
// its permission bits; a symbolic link at `path` is followed and stays. On
// any failure the temporary file is removed and the old file is left as it
// was. False on failure (a missing or unwritable folder, a full disk, a file
// at `path` that cannot be read, a name refused above).
bool WritePrivateProfileString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value);

}  // namespace quillmark::platform
