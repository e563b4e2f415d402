#include "platform/private_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

namespace quillmark::platform {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
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

struct Line {
  std::string_view text;  // without its line end
  std::string_view end;   // "\n", "\r\n", or empty for a last line without one
};

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;
  std::size_t valueStart = 0;  // offset in the line's text just after "="
};

struct Profile {
  std::string_view bom;  // kept in front of the first line, never parsed
  std::vector<Line> lines;
};

Profile SplitProfile(std::string_view content) {
  Profile profile;
  if (content.starts_with(kUtf8Bom)) {
    profile.bom = content.substr(0, kUtf8Bom.size());
    content.remove_prefix(kUtf8Bom.size());
  }
  while (!content.empty()) {
    const std::size_t lf = content.find('\n');
    if (lf == std::string_view::npos) {
      // A CR that ends the file is a CR LF line end that lost its LF, not
      // part of the value: otherwise a line added behind it would supply
      // the LF and change what the line reads.
      const std::size_t textEnd = content.ends_with('\r') ? content.size() - 1 : content.size();
      profile.lines.push_back({content.substr(0, textEnd), content.substr(textEnd)});
      break;
    }
    const std::size_t textEnd = (lf > 0 && content[lf - 1] == '\r') ? lf - 1 : lf;
    profile.lines.push_back({content.substr(0, textEnd), content.substr(textEnd, lf + 1 - textEnd)});
    content.remove_prefix(lf + 1);
  }
  return profile;
}

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

// Where a key is, or where it would go. Indexes into Profile::lines.
struct KeyPlace {
  std::size_t header = kNone;       // the first matching section's header
  std::size_t keyLine = kNone;      // the first matching key line in it
  std::size_t lastKeyLine = kNone;  // the section's last key line, or its header
  std::size_t valueStart = 0;       // in keyLine's text
};

KeyPlace FindKey(const Profile& profile, std::string_view section, std::string_view key) {
  KeyPlace place;
  for (std::size_t i = 0; i < profile.lines.size(); ++i) {
    const ParsedLine parsed = ParseLine(profile.lines[i].text);
    if (parsed.kind == LineKind::kSection) {
      if (place.header != kNone) break;  // the first matching section has ended
      if (SameName(parsed.name, section)) place.header = place.lastKeyLine = i;
    } else if (parsed.kind == LineKind::kKey && place.header != kNone) {
      place.lastKeyLine = i;
      if (SameName(parsed.name, key)) {
        place.keyLine = i;
        place.valueStart = parsed.valueStart;
        break;
      }
    }
  }
  return place;
}

bool IsStorableSection(std::string_view section) {
  return section.find_first_of("\r\n]") == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
  return !key.empty() && key.front() != ';' && key.front() != '[' &&
         key.find_first_of("\r\n=") == std::string_view::npos;
}

// Before a line is added behind the last one: a line end for a last line
// without one, the LF for one that ends in a lone CR.
void CompleteLineEnd(const Line& line, std::string_view newline, std::string& out) {
  if (line.end.empty())
    out.append(newline);
  else if (line.end == "\r")
    out.append("\n");
}

// The profile text with `key` set to `value` in `section`.
std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
  const Profile profile = SplitProfile(content);
  const KeyPlace place = FindKey(profile, section, key);
  const bool crlf = !profile.lines.empty() && profile.lines.front().end == "\r\n";
  const std::string_view newline = crlf ? "\r\n" : "\n";
  const std::string keyLine = std::string(key) + "=" + std::string(value) + std::string(newline);

  std::string out(profile.bom);
  out.reserve(content.size() + keyLine.size() + section.size() + 4);
  for (std::size_t i = 0; i < profile.lines.size(); ++i) {
    const Line& line = profile.lines[i];
    if (i == place.keyLine) {
      out.append(line.text.substr(0, place.valueStart)).append(value).append(line.end);
      continue;
    }
    out.append(line.text).append(line.end);
    if (i == place.lastKeyLine && place.keyLine == kNone) {
      CompleteLineEnd(line, newline, out);
      out.append(keyLine);
    }
  }
  if (place.header == kNone) {
    if (!profile.lines.empty()) CompleteLineEnd(profile.lines.back(), newline, out);
    out.append("[").append(section).append("]").append(newline).append(keyLine);
  }
  return out;
}

// ---- Files -----------------------------------------------------------------

enum class ReadOutcome { kRead, kMissing, kFailed };

ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, mode_t& mode) {
  // O_NONBLOCK so that a FIFO in place of the file cannot hang the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kFailed;
  struct stat status {};
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  mode = status.st_mode & 07777;
  bytes.clear();
  char buffer[64 * 1024];
  while (ok) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      ok = count == 0;
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
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
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  ::close(fd);
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::optional<mode_t> mode) {
  std::string tempPath;
  const int fd = CreateTemporaryBeside(path, tempPath);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && (!mode || fchmod(fd, *mode) == 0) && fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(tempPath.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(tempPath.c_str());
    return false;
  }
  SyncFolderOf(path);
  return true;
}

// A settings file kept elsewhere behind a symbolic link stays there.
std::string FollowLink(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
  char* target = realpath(path.c_str(), nullptr);
  if (target == nullptr) return path;  // dangling: the link itself is replaced
  std::string resolved(target);
  std::free(target);
  return resolved;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& path, std::string_view section, std::string_view key,
                                    std::string_view defaultValue) {
  std::string content;
  mode_t mode = 0;
  if (ReadRegularFile(path, content, mode) != ReadOutcome::kRead) return std::string(defaultValue);
  const Profile profile = SplitProfile(content);
  const KeyPlace place = FindKey(profile, Trim(section), Trim(key));
  if (place.keyLine == kNone) return std::string(defaultValue);

  std::string_view value = Trim(profile.lines[place.keyLine].text.substr(place.valueStart));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kMaxProfileValueBytes));
}

bool WritePrivateProfileString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (!IsStorableSection(section) || !IsStorableKey(key)) return false;
  value = value.substr(0, value.find_first_of("\r\n"));

  const std::string target = FollowLink(path);
  std::string content;
  mode_t mode = 0;
  std::optional<mode_t> keptMode;
  switch (ReadRegularFile(target, content, mode)) {
    case ReadOutcome::kRead: keptMode = mode; break;
    case ReadOutcome::kMissing: content.clear(); break;
    case ReadOutcome::kFailed: return false;  // never replace what could not be read
  }
  return ReplaceFileAtomically(target, WithValue(content, section, key, value), keptMode);
}

}  // namespace quillmark::platform
