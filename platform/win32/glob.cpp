#include "platform/glob.h"

#include <string_view>

namespace quillmark::platform {
namespace {

// Both separators are one, and names match without regard to ASCII case,
// as the system's names do. No backslash escapes: a backslash is a
// separator here.
char Fold(char c) {
  if (c == '\\') return '/';
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A bracket expression at `p` (just after '['): whether `c` is in it, and
// where it ends; npos when the bracket never closes (then '[' is literal).
std::size_t MatchBracket(std::string_view p, std::size_t at, char c, bool& matched) {
  std::size_t i = at;
  const bool negate = i < p.size() && (p[i] == '!' || p[i] == '^');
  if (negate) ++i;
  bool found = false;
  bool first = true;
  for (; i < p.size() && (first || p[i] != ']'); first = false) {
    char low = Fold(p[i]);
    char high = low;
    if (i + 2 < p.size() && p[i + 1] == '-' && p[i + 2] != ']') {
      high = Fold(p[i + 2]);
      i += 3;
    } else {
      ++i;
    }
    if (low <= c && c <= high) found = true;
  }
  if (i >= p.size()) return std::string_view::npos;
  matched = found != negate;
  return i + 1;
}

bool Match(std::string_view p, std::string_view t, bool pathname) {
  std::size_t pi = 0, ti = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (ti < t.size()) {
    const char c = Fold(t[ti]);
    if (pi < p.size()) {
      const char pc = p[pi];
      if (pc == '*') {
        while (pi < p.size() && p[pi] == '*') ++pi;
        starP = pi;
        starT = ti;
        continue;
      }
      if (pc == '?' && !(pathname && c == '/')) {
        ++pi;
        ++ti;
        continue;
      }
      if (pc == '[' && !(pathname && c == '/')) {
        bool matched = false;
        const std::size_t end = MatchBracket(p, pi + 1, c, matched);
        if (end != std::string_view::npos) {
          if (matched) {
            pi = end;
            ++ti;
            continue;
          }
        } else if (c == '[') {
          ++pi;
          ++ti;
          continue;
        }
      } else if (pc != '?' && pc != '[' && Fold(pc) == c) {
        ++pi;
        ++ti;
        continue;
      }
    }
    // Back to the last star, which takes one more character (never a
    // separator where separators end stars).
    if (starP == std::string_view::npos || (pathname && Fold(t[starT]) == '/')) return false;
    ++starT;
    ti = starT;
    pi = starP;
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

bool MatchesGlob(const std::string& pattern, const std::string& text) {
  return Match(pattern, text, pattern.find("**") == std::string::npos);
}

}  // namespace quillmark::platform
