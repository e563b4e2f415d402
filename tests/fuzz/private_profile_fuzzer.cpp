// Private-profile writes on a random starting file, read back: the value
// comes back as far as the format holds it, and nothing else changes.
//
// What the format holds of a written value: the bytes before its first CR
// or LF; a read then strips surrounding blanks (space, tab) and one pair of
// enclosing double quotes, and returns at most 4,095 bytes.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/private_profile.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/scratch_folder.h"

namespace quillmark::fuzz {
namespace {

constexpr char kMissing[] = "\x01missing\x01";

std::string Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string ValueAsRead(std::string_view written) {
  std::string value = Trimmed(written.substr(0, written.find_first_of("\r\n")));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return value.substr(0, 4095);
}

bool IsRefused(std::string_view section, std::string_view key) {
  const std::string s = Trimmed(section), k = Trimmed(key);
  return s.find_first_of("\r\n]") != std::string::npos || k.empty() || k[0] == ';' || k[0] == '[' ||
         k.find_first_of("\r\n=") != std::string::npos;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  Check(out != nullptr, "the starting file can be written");
  Check(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fclose(out) == 0,
        "the starting file is written");
}

// Names that the starting file's lines look like they hold, to be read
// before and after the write.
std::pair<std::vector<std::string>, std::vector<std::string>> NamesInFile(const std::string& content) {
  std::vector<std::string> sections, keys;
  std::istringstream lines(content);
  for (std::string line; std::getline(lines, line);) {
    const std::string body = Trimmed(line);
    if (body.starts_with('[') && body.find(']') != std::string::npos && sections.size() < 5)
      sections.push_back(Trimmed(body.substr(1, body.find(']') - 1)));
    else if (line.find('=') != std::string::npos && keys.size() < 5)
      keys.push_back(Trimmed(line.substr(0, line.find('='))));
  }
  return {sections, keys};
}

}  // namespace
}  // namespace quillmark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmark;
  using namespace quillmark::fuzz;
  FuzzedDataProvider input(data, size);
  const bool fileExists = input.ConsumeBool();
  const bool longValue = input.ConsumeBool();
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  std::string value = input.ConsumeRandomLengthString(64);
  if (longValue && !value.empty()) {
    // Past what a read returns.
    const std::string unit = value;
    while (value.size() < 4200) value += unit;
  }
  const std::string content = input.ConsumeRemainingBytesAsString();

  const std::string& folder = ScratchFolder();
  const std::string path = folder + "/settings.ini";
  std::remove(path.c_str());
  if (fileExists) {
    WriteAll(path, content);
    chmod(path.c_str(), 0640);
  }

  auto [sections, keys] = NamesInFile(fileExists ? content : std::string());
  sections.push_back(section);
  keys.push_back(key);
  std::vector<std::string> before;
  for (const std::string& s : sections)
    for (const std::string& k : keys) before.push_back(platform::GetPrivateProfileString(path, s, k, kMissing));

  const bool written = platform::WritePrivateProfileString(path, section, key, value);
  const std::string after = fileExists || written ? ReadAll(path) : std::string();

  if (IsRefused(section, key)) {
    Check(!written, "a name the format cannot hold is refused");
    Check(after == (fileExists ? content : std::string()), "a refused write changes nothing");
    Check(NamesIn(folder) == (fileExists ? "settings.ini\n" : ""), "a refused write leaves no file behind");
    return 0;
  }
  Check(written, "a write of storable names succeeds");
  Check(NamesIn(folder) == "settings.ini\n", "no temporary file is left behind");
  struct stat status {};
  Check(stat(path.c_str(), &status) == 0 && (!fileExists || (status.st_mode & 07777) == 0640),
        "the file keeps its permission bits");
  const std::string cut = value.substr(0, value.find_first_of("\r\n"));
  if (!fileExists)
    Check(after == "[" + Trimmed(section) + "]\n" + Trimmed(key) + "=" + cut + "\n", "a new file holds one key");

  Check(platform::GetPrivateProfileString(path, section, key, kMissing) == ValueAsRead(value),
        "the value reads back as the format holds it");

  // Every byte of the old file outside one line's value stays: the two
  // texts differ only in one stretch, and the old one holds no line end.
  std::size_t prefix = 0;
  const std::string old = fileExists ? content : std::string();
  while (prefix < old.size() && prefix < after.size() && old[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < old.size() - prefix && suffix < after.size() - prefix &&
         old[old.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const std::string replaced = old.substr(prefix, old.size() - prefix - suffix);
  Check(replaced.find('\n') == std::string::npos, "no line of the old file is removed or split");

  std::size_t probe = 0;
  for (const std::string& s : sections) {
    for (const std::string& k : keys) {
      const std::string now = platform::GetPrivateProfileString(path, s, k, kMissing);
      if (SameName(Trimmed(s), Trimmed(section)) && SameName(Trimmed(k), Trimmed(key)))
        Check(now == ValueAsRead(value), "the key reads back under any spelling of its names");
      else
        Check(now == before[probe], "other keys and sections are unchanged by a write");
      ++probe;
    }
  }

  Check(platform::WritePrivateProfileString(path, section, key, value) && ReadAll(path) == after,
        "writing the same value again changes no byte");
  return 0;
}
