#include "platform/private_profile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <optional>
#include <vector>

namespace quillmark::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// More links in a row than this is taken for a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

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

// The new text of a file, as two pieces of the old one around a few new
// bytes, so that a big file is never copied in memory.
struct NewText {
  std::string_view head;
  std::string middle;
  std::string_view tail;
};

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

// ---- Files -----------------------------------------------------------------

enum class ReadOutcome { kRead, kMissing, kFailed };

// Reads into a buffer of the file's size: no growth by doubling, which
// would hold up to twice the file for a moment.
ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, mode_t& mode) {
  bytes.clear();
  // O_NONBLOCK so that a FIFO in place of the file cannot hang the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kFailed;
  struct stat status {};
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  mode = status.st_mode & 07777;
  try {
    if (ok) bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t used = 0;
    char spare[4096];  // tells the end of the file from a file that grew
    while (ok) {
      const bool full = used == bytes.size();
      const ssize_t count = full ? ::read(fd, spare, sizeof spare) : ::read(fd, bytes.data() + used, bytes.size() - used);
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) {
        ok = count == 0;
        break;
      }
      if (full) bytes.append(spare, static_cast<std::size_t>(count));
      used += static_cast<std::size_t>(count);
    }
    bytes.resize(used);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  if (!ok) bytes = std::string();
  return ok ? ReadOutcome::kRead : ReadOutcome::kFailed;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

bool WriteAll(int fd, const NewText& text) {
  return WriteAll(fd, text.head) && WriteAll(fd, text.middle) && WriteAll(fd, text.tail);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A write that was killed leaves its temporary file, named as
// CreateTemporaryBeside names it, behind. Those of this very file whose
// writer is gone are removed; a name of any other form, or of a process
// that may still run, is never touched.
void RemoveStaleTemporaries(const std::string& path) {
  DIR* folder = opendir(FolderOf(path).c_str());
  if (folder == nullptr) return;
  const std::string prefix = NameOf(path) + ".tmp.";
  while (const dirent* entry = readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const std::string_view numbers = name.substr(prefix.size());
    const std::size_t dot = numbers.find('.');
    if (dot == std::string_view::npos || !IsDigits(numbers.substr(0, dot)) || !IsDigits(numbers.substr(dot + 1)))
      continue;
    int pid = 0;
    const auto [end, error] = std::from_chars(numbers.data(), numbers.data() + dot, pid);
    if (error != std::errc() || pid <= 0) continue;  // no process's id: kill() would take it for a group
    if (kill(pid, 0) != 0 && errno == ESRCH) (void)unlinkat(dirfd(folder), entry->d_name, 0);
  }
  closedir(folder);
}

// Opens a new file beside `path` that no other writer uses. Created with
// mode 0666 so that the umask decides, as for any new file.
int CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The renamed entry is durable only once its folder is flushed too. Best
// effort: the new file is in place whatever this returns.
void SyncFolderOf(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  ::close(fd);
}

enum class Replacement { kDone, kFailed, kRefusedByFolder };

Replacement ReplaceFileAtomically(const std::string& path, const NewText& text, std::optional<mode_t> mode) {
  std::string tempPath;
  const int fd = CreateTemporaryBeside(path, tempPath);
  if (fd < 0) {
    return errno == EACCES || errno == EPERM || errno == EROFS ? Replacement::kRefusedByFolder : Replacement::kFailed;
  }
  bool ok = WriteAll(fd, text) && (!mode || fchmod(fd, *mode) == 0) && fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  int renameError = 0;
  if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
    renameError = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(tempPath.c_str());
    // A sticky folder lets anyone add files but not replace another's.
    return renameError == EPERM || renameError == EACCES ? Replacement::kRefusedByFolder : Replacement::kFailed;
  }
  SyncFolderOf(path);
  return Replacement::kDone;
}

// For a file that its folder does not let be replaced: the same bytes,
// written over the old ones.
bool WriteInPlace(const std::string& path, const NewText& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat status {};
  const auto size = static_cast<off_t>(text.head.size() + text.middle.size() + text.tail.size());
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && WriteAll(fd, text) && ftruncate(fd, size) == 0 &&
            fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  return ok;
}

// Only a file that the user may write is ever replaced: the rename alone
// would swap a read-only file, or another user's, for one of the user's.
bool CanOpenForWriting(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// The file a write goes to: `path`, or where the chain of symbolic links
// at `path` ends, which need not exist yet. A relative target is relative
// to its link's folder. Nothing for a loop or a link that cannot be read.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::vector<char> target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 0) + 256);
    ssize_t length = 0;
    while ((length = readlink(path.c_str(), target.data(), target.size())) >= 0 &&
           static_cast<std::size_t>(length) == target.size()) {
      target.resize(target.size() * 2);  // the link changed under us, or lies about its size
    }
    if (length <= 0) return std::nullopt;
    std::string next(target.data(), static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    if (next.front() != '/' && slash != std::string::npos) next.insert(0, path, 0, slash + 1);
    path = std::move(next);
  }
  return std::nullopt;
}

}  // namespace

PrivateProfileReader::PrivateProfileReader(const std::string& path) {
  mode_t mode = 0;
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
  mode_t mode = 0;
  std::optional<mode_t> keptMode;
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
