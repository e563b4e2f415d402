// The FileExt tokenizer against its rules: split at ';', one leading '.'
// taken from each token, empty entries dropped, order and bytes kept.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/search_setup.h"
#include "tests/fuzz/fuzz_check.h"

namespace quillmark::fuzz {
namespace {

std::vector<std::string> ReferenceExtensions(const std::string& setting) {
  std::vector<std::string> entries;
  std::string token;
  auto finish = [&] {
    if (!token.empty() && token[0] == '.') token.erase(0, 1);
    if (!token.empty()) entries.push_back(token);
    token.clear();
  };
  for (const char c : setting) {
    if (c == ';')
      finish();
    else
      token += c;
  }
  finish();
  return entries;
}

}  // namespace
}  // namespace quillmark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmark;
  using fuzz::Check;
  const std::string setting(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = engine::BuildExtensionList(setting);

  Check(entries == fuzz::ReferenceExtensions(setting), "the entries equal the reference split");
  std::size_t separators = 0;
  for (const char c : setting) separators += c == ';';
  Check(entries.size() <= separators + 1, "no more entries than tokens");
  std::size_t from = 0;
  std::string joined;
  for (const std::string& entry : entries) {
    Check(!entry.empty(), "no empty entry");
    Check(entry.find(';') == std::string::npos, "no entry holds the separator");
    // Entries stand in the setting in their order.
    const std::size_t at = setting.find(entry, from);
    Check(at != std::string::npos, "entries keep their order and bytes");
    from = at + entry.size();
    joined += (joined.empty() ? "" : ";") + entry;
  }
  // Joined again, entries that did not start with a second dot come back.
  bool anyDot = false;
  for (const std::string& entry : entries) anyDot |= entry[0] == '.';
  if (!anyDot) Check(engine::BuildExtensionList(joined) == entries, "joining and splitting again is stable");
  return 0;
}
