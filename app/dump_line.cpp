#include "app/dump_line.h"

#include <charconv>
#include <cstdio>

namespace quillmark::app {
namespace {

// The leading decimal number of `text`, as atoi reads it.
int LeadingNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (text.starts_with('+')) text.remove_prefix(1);
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

std::string FormatDumpLine(std::string_view path, std::string_view line, std::string_view text) {
  char number[16];
  std::snprintf(number, sizeof number, "%4d", LeadingNumber(line));

  std::string result(path);
  result += " : ";
  result += number;
  if (result.size() < 30) result.append(30 - result.size(), ' ');
  result += " \"";
  result += text;
  result += '"';
  return result;
}

}  // namespace quillmark::app
