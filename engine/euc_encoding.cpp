#include "engine/euc_encoding.h"

namespace quillmark::engine {

std::string EucEncoding::ToShiftJis(const std::string& text) const {
  std::string out;
  ToShiftJis(text, out);
  return out;
}

void EucEncoding::ToShiftJis(std::string_view text, std::string& out) const { platform::EucJpToShiftJis(text, out); }

}  // namespace quillmark::engine
