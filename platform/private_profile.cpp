#include "platform/private_profile.h"

#include <optional>

#include "platform/profile_store.h"

namespace quillmark::platform {
namespace {

using namespace profile_store;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// ---- The text of a profile -------------------------------------------------
//
// Lines are found in place as a lookup goes and never collected: a lookup
// costs no memory beyond the file's bytes, however many lines it has.

struct Line {
  std::string_view text;  // from its first non-blank byte to its line end
  std::string_view end;   // "\n", "\r\n", a CR that ends the file, or empty
};

// Where the lines start: a byte-order mark is kept but never parsed.
std::size_t TextStart(std::string_view content) { return content.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0; }

std::size_t OffsetOf(std::string_view content, std::string_view part) {
  return static_cast<std::size_t>(part.data() - content.data());
}

std::size_t EndOf(std::string_view content, const Line& line) {
  return OffsetOf(content, line.end) + line.end.size();
}

// The line from `start` to its line end.
Line LineFrom(std::string_view content, std::size_t start) {
  const std::size_t lf = content.find('\n', start);
  if (lf == std::string_view::npos) {
    // A CR that ends the file is a CR LF line end that lost its LF, not
    // part of the value: otherwise a line added behind it would supply
    // the LF and change what the line reads.
    const std::size_t textEnd = content.ends_with('\r') ? content.size() - 1 : content.size();
    return {content.substr(start, textEnd - start), content.substr(textEnd)};
  }
  const std::size_t textEnd = (lf > start && content[lf - 1] == '\r') ? lf - 1 : lf;
  return {content.substr(start, textEnd - start), content.substr(textEnd, lf + 1 - textEnd)};
}

// The next line at or after `pos` that holds more than blanks; `pos` moves
// past it. Blank lines can never be a header or a key, so they are stepped
// over byte by byte without looking for their ends.
std::optional<Line> NextLine(std::string_view content, std::size_t& pos) {
  while (pos < content.size()) {
    while (pos < content.size() && IsBlank(content[pos])) ++pos;
    if (pos == content.size()) break;
    if (content[pos] == '\n') {
      ++pos;
      continue;
    }
    const Line line = LineFrom(content, pos);
    pos = EndOf(content, line);
    if (!line.text.empty()) return line;  // else a blank line ending in CR LF
  }
  return std::nullopt;
}

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;
  std::size_t valueStart = 0;  // offset in the line's text just after "="
};

ParsedLine ParseLine(std::string_view text) {
  const std::string_view body = Trim(text);
  if (body.empty() || body.front() == ';') return {};
  if (body.front() == '[') {
    const std::size_t close = body.find(']');
    if (close == std::string_view::npos) return {};
    return {LineKind::kSection, Trim(body.substr(1, close - 1)), 0};
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  return {LineKind::kKey, Trim(text.substr(0, equals)), equals + 1};
}

// The header line of the first section named `section`. Only a "[" can
// start a header, so the search leaps from one "[" to the next, whatever
// the lines in between hold.
std::optional<Line> FindSectionHeader(std::string_view content, std::string_view section) {
  const std::size_t textStart = TextStart(content);
  for (std::size_t open = content.find('[', textStart); open != std::string_view::npos;
       open = content.find('[', open + 1)) {
    std::size_t lineStart = open;
    while (lineStart > textStart && IsBlank(content[lineStart - 1])) --lineStart;
    if (lineStart > textStart && content[lineStart - 1] != '\n') continue;  // not first on its line
    const Line line = LineFrom(content, open);
    const ParsedLine parsed = ParseLine(line.text);
    if (parsed.kind == LineKind::kSection && SameName(parsed.name, section)) return line;
  }
  return std::nullopt;
}

// Where a key is, or where it would go.
struct KeyPlace {
  std::optional<Line> header;           // of the first matching section
  std::optional<std::string_view> value;  // of the first matching key in it, untrimmed
  Line lastKeyLine;                       // the section's last key line, or its header
};

KeyPlace FindKey(std::string_view content, std::string_view section, std::string_view key) {
  KeyPlace place;
  place.header = FindSectionHeader(content, section);
  if (!place.header) return place;
  place.lastKeyLine = *place.header;
  for (std::size_t pos = EndOf(content, *place.header); const std::optional<Line> line = NextLine(content, pos);) {
    const ParsedLine parsed = ParseLine(line->text);
    if (parsed.kind == LineKind::kSection) break;  // the first matching section has ended
    if (parsed.kind != LineKind::kKey) continue;
    place.lastKeyLine = *line;
    if (SameName(parsed.name, key)) {
      place.value = line->text.substr(parsed.valueStart);
      break;
    }
  }
  return place;
}

std::string ValueAsRead(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
  const KeyPlace place = FindKey(content, Trim(section), Trim(key));
  if (!place.value) return std::string(defaultValue);
  std::string_view value = Trim(*place.value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kMaxProfileValueBytes));
}

bool IsStorableSection(std::string_view section) {
  return section.find_first_of("\r\n]") == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
  return !key.empty() && key.front() != ';' && key.front() != '[' &&
         key.find_first_of("\r\n=") == std::string_view::npos;
}

// Before a line is added behind one ending in `end`: a line end for a last
// line without one, the LF for one that ends in a lone CR.
std::string_view LineEndCompletion(std::string_view end, std::string_view newline) {
  if (end.empty()) return newline;
  return end == "\r" ? "\n" : "";
}

// The profile text with `key` set to `value` in `section`.
NewText WithValue(std::string_view content, std::string_view section, std::string_view key,
                  std::string_view value) {
  const KeyPlace place = FindKey(content, section, key);
  if (place.value) {
    const std::size_t start = OffsetOf(content, *place.value);
    return {content.substr(0, start), std::string(value), content.substr(start + place.value->size())};
  }

  const std::size_t textStart = TextStart(content);
  const std::size_t firstLf = content.find('\n', textStart);
  const bool crlf = firstLf != std::string_view::npos && firstLf > textStart && content[firstLf - 1] == '\r';
  const std::string_view newline = crlf ? "\r\n" : "\n";
  std::string keyLine = std::string(key) + "=" + std::string(value) + std::string(newline);

  if (place.header) {
    const std::size_t at = EndOf(content, place.lastKeyLine);
    return {content.substr(0, at), std::string(LineEndCompletion(place.lastKeyLine.end, newline)) + keyLine,
            content.substr(at)};
  }
  std::string middle;
  if (content.size() > textStart) {
    const std::string_view lastEnd = content.ends_with('\n') ? "\n" : content.ends_with('\r') ? "\r" : "";
    middle = LineEndCompletion(lastEnd, newline);
  }
  middle.append("[").append(section).append("]").append(newline).append(keyLine);
  return {content, std::move(middle), {}};
}

}  // namespace

PrivateProfileReader::PrivateProfileReader(const std::string& path) {
  FileMode mode;
  ReadRegularFile(path, bytes_, mode);
}

std::string PrivateProfileReader::GetString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue) const {
  return ValueAsRead(bytes_, section, key, defaultValue);
}

std::string GetPrivateProfileString(const std::string& path, std::string_view section, std::string_view key,
                                    std::string_view defaultValue) {
  return PrivateProfileReader(path).GetString(section, key, defaultValue);
}

bool WritePrivateProfileString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (!IsStorableSection(section) || !IsStorableKey(key)) return false;
  value = value.substr(0, value.find_first_of("\r\n"));

  const std::optional<std::string> target = FollowLinks(path);
  if (!target) return false;
  RemoveStaleTemporaries(*target);
  std::string content;
  FileMode mode;
  std::optional<FileMode> keptMode;
  switch (ReadRegularFile(*target, content, mode)) {
    case ReadOutcome::kRead: keptMode = mode; break;
    case ReadOutcome::kMissing: break;
    case ReadOutcome::kFailed: return false;  // never replace what could not be read
  }
  if (keptMode && !CanOpenForWriting(*target)) return false;

  const NewText text = WithValue(content, section, key, value);
  switch (ReplaceFileAtomically(*target, text, keptMode)) {
    case Replacement::kDone: return true;
    case Replacement::kFailed: return false;
    case Replacement::kRefusedByFolder: return keptMode && WriteInPlace(*target, text);
  }
  return false;
}

}  // namespace quillmark::platform
