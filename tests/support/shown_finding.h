// A finding as the list shows it and --raw prints it: the comparisons of
// scan results read best in these terms.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "engine/finding.h"
#include "report/finding_text.h"

namespace quillmark::testing {

struct ShownFinding {
  std::string text;  // padded, in Shift_JIS or a UTF-8 file's own bytes
  std::string line;
  std::string path;
  friend bool operator==(const ShownFinding&, const ShownFinding&) = default;
  friend std::ostream& operator<<(std::ostream& out, const ShownFinding& f) {
    return out << "{\"" << f.text << "\", " << f.line << ", " << f.path << "}";
  }
};

inline std::vector<ShownFinding> Shown(const engine::FindingList& findings) {
  std::vector<ShownFinding> shown;
  for (const engine::Finding& f : findings) shown.push_back({report::RecordedText(f), report::LineText(f), f.path});
  return shown;
}

}  // namespace quillmark::testing
