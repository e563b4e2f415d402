// A small tree of sources that holds what a walk must get right wherever a
// file is scanned: Shift_JIS, EUC-JP, UTF-8 and ASCII files side by side,
// comments across lines, escapes, literals left open, NUL and 0x1A bytes,
// CR LF files, a line longer than a read, empty files, folders deep and
// wide, files the extensions leave out, and a link back up the tree. The
// same seed always gives the same tree.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_tree.h"

namespace quillmark::testing {

struct VariedTreeShape {
  std::uint32_t seed = 1;
  int files = 48;
  int maxLines = 60;  // of each file, fewer at random
  // A link named like a source that leads nowhere: opening it fails and
  // ends the walk there.
  bool withDanglingSource = false;
};

inline void WriteVariedTree(const TempTree& tree, const VariedTreeShape& shape) {
  std::mt19937 random(shape.seed);
  const auto pick = [&](std::size_t count) { return static_cast<std::size_t>(random() % count); };

  // Japanese text in each encoding: kana, a trail byte that is a
  // backslash (Shift_JIS), half-width katakana, a wave dash.
  const std::vector<std::vector<std::string>> japanese = {
      {"\x82\xA0\x82\xA2", "\x95\x5C\x8E\xA6", "\xB1\xB2"},
      {"\xA4\xA2\xA4\xA4", "\xC9\xBD\xBC\xA8", "\x8E\xB1\x8E\xB2"},
      {"あい", "表示", "〜ｱ"},
      {"ascii", "plain", "text"},
  };
  const std::vector<std::string> folders = {"", "src/", "src/core/", "src/core/deep/", "include/", "a b/", "wide/"};
  const std::vector<std::string> names = {"main", "util", "dialog", "msg", "x"};
  const std::vector<std::string> extensions = {".c", ".cpp", ".h", ".hpp", ".txt"};

  // First in the walk, and large enough that the walk starts its threads
  // at once: what follows is scanned on all of them.
  std::string bulk;
  while (bulk.size() < (1u << 20)) bulk += "int filler = 0;  /* \"" + japanese[0][0] + "\" */\n";
  tree.WriteFile("0_bulk.c", bulk + "const char* last = \"" + japanese[0][1] + "\";\n");

  for (int f = 0; f < shape.files; ++f) {
    const std::vector<std::string>& text = japanese[pick(japanese.size())];
    const std::string end = pick(4) == 0 ? "\r\n" : "\n";
    std::string file;
    const int lines = static_cast<int>(pick(static_cast<std::size_t>(shape.maxLines)));
    for (int l = 0; l < lines; ++l) {
      const std::string& j = text[pick(text.size())];
      switch (pick(12)) {
        case 0: file += "const char* s = \"" + j + "\";" + end; break;
        case 1: file += "c = '" + j + "'; d = '\\'';" + end; break;
        case 2: file += "/* \"" + j + "\" begins" + end + " and ends */ t = \"" + j + "\\\"x\";" + end; break;
        case 3: file += "// \"" + j + "\" only a comment" + end; break;
        case 4: file += "printf(\"plain %d\\n\", 1); u = \"" + j + "\" \"" + j + "\";" + end; break;
        case 5: file += "  x = \"\";  y = \"" + j + "\\\\\"; /* " + j + " */" + end; break;
        case 6: if (pick(6) == 0) file += "bad = \"" + j + end; break;  // the rest of the file goes unscanned
        case 7: if (pick(8) == 0) file += std::string("n = \"") + j + '\0' + "\";" + end; break;
        case 8: if (pick(20) == 0) file += "\x1A" "after = \"" + j + "\";" + end; break;
        default: file += "int v" + std::to_string(l) + " = " + std::to_string(l) + ";" + end; break;
      }
    }
    if (f == 7) file += "w = \"" + std::string(70 * 1024, 'a') + text[0] + "\";" + end;
    const std::string name = names[pick(names.size())] + "_" + std::to_string(f) + extensions[pick(extensions.size())];
    tree.WriteFile(folders[pick(folders.size())] + name, file);
  }
  tree.WriteFile("src/empty.c", "");
  tree.MakeFolder("src/nothing");
  for (int i = 0; i < 40; ++i) tree.WriteFile("wide/notes_" + std::to_string(i) + ".txt", "\"\x82\xA0\"\n");
  tree.MakeLink("src/core/up", "..");
  if (shape.withDanglingSource) tree.MakeLink("src/core/gone.c", "nowhere.c");
}

}  // namespace quillmark::testing
