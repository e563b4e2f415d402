// The log kept in pieces and decoded line by line reads exactly as the
// single string of every line decoded on its own, across the pieces'
// boundaries too, and the pane shows from it what it would from the string.
#include "app/log_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/log_pane_view.h"
#include "platform/code_page.h"

namespace quillmark::app {
namespace {

// What the window's log held for these lines before: each as it is when
// valid UTF-8, else decoded as CP932, then a line end.
std::string Expected(const std::vector<std::string>& lines) {
  std::string log;
  for (const std::string& line : lines) {
    log += platform::IsValidUtf8(line) ? line : platform::Cp932ToUtf8(line);
    log += '\n';
  }
  return log;
}

// What a first refresh of the pane shows of `log` held as one string, and
// where byte `offset` falls in it: all of it, appended, while it fits
// `limit`; past it, in place of what was there, the last `limit` / 2 bytes
// from a line start (the last line at least) under a note.
struct Pane {
  bool replace;
  std::string text;
  long position;
};
Pane PaneOf(const std::string& log, std::size_t limit, std::size_t offset) {
  const auto characters = [](std::string_view utf8) {
    long count = 0;
    for (unsigned char byte : utf8) count += (byte & 0xC0) != 0x80;
    return count;
  };
  if (log.size() <= limit) return {false, log, characters(std::string_view(log).substr(0, offset))};
  std::size_t from = log.size() - limit / 2;
  if (log[from - 1] != '\n') {
    const std::size_t end = log.find('\n', from);
    from = end != std::string::npos && end + 1 < log.size() ? end + 1 : log.rfind('\n', log.size() - 2) + 1;
  }
  const std::string note = "（ログの先頭 " + std::to_string(from) + " バイトは表示していません）\n";
  const long before = offset <= from ? 0 : characters(std::string_view(log).substr(from, offset - from));
  return {true, note + log.substr(from), characters(note) + before};
}

const std::vector<std::string> kLines = {
    "********** 解析開始(SJIS-JP) **********",
    "checking string:\x93\xfa\x96\x7b",              // 日本 in Shift_JIS
    "checking string:\xc6\xfc\xcb\xdc",              // 日本 in EUC-JP, read as CP932
    "checking string:\xa4\xb3\xa4\xec\xfe\xfe",      // EUC-JP with bytes that begin no CP932 character
    "checking string:\x82\xa0\x5c\x80\xa0\xfd\xff",  // 0x5C trail, Windows' single bytes
    "checking string:日本語",                         // UTF-8
    "-- analyze:/tmp/a\nb/\x93\xfa.c",               // a line end inside a path
    "",
    "\x93",  // a lead byte left alone at the end
    "checking string:\x83\x65\x83\x58\x83\x67",      // テスト after the lines above
};

TEST(LogText, ReadsAsEachLineDecodedOnItsOwn) {
  LogText log;
  for (const std::string& line : kLines) log.AppendLine(line);
  EXPECT_EQ(log.Whole(), Expected(kLines));
  EXPECT_EQ(log.size(), Expected(kLines).size());

  // Again after a line of bytes that begin no character: the lines that
  // follow take the other decoder for a while, with the same result.
  std::vector<std::string> more;
  for (int i = 0; i < 40; ++i) more.insert(more.end(), kLines.begin(), kLines.end());
  LogText again;
  for (const std::string& line : more) again.AppendLine(line);
  EXPECT_EQ(again.Whole(), Expected(more));
}

// Lines of the window's own join the last piece; a search's batches stand
// as pieces of their own, a small one joining the piece before.
TEST(LogText, ReadsTheSameAcrossPiecesAndAfterAClear) {
  LogText log;
  std::string expected;
  std::vector<std::size_t> boundaries;
  const auto batch = [&](std::size_t bytes, int seed) {
    std::string lines;
    for (int i = 0; lines.size() < bytes; ++i) AppendLogLine("checking string:\x93\xfa\x96\x7b " + std::to_string(seed + i), lines);
    expected += lines;
    log.AppendConverted(std::move(lines));
    boundaries.push_back(expected.size());
  };
  const auto line = [&](const std::string& text) {
    AppendLogLine(text, expected);
    log.AppendLine(text);
  };
  line("********** 解析開始(SJIS-JP) **********");
  batch(3 << 20, 0);     // alone
  batch(100, 1000);      // small: joins
  line("\x93\xfa");      // a line after a batch
  batch(2 << 20, 2000);  // alone again
  for (int i = 0; i < 3000; ++i) line("============== " + std::to_string(i));
  ASSERT_EQ(log.Whole(), expected);
  ASSERT_EQ(log.size(), expected.size());

  std::vector<std::size_t> places = {0, expected.size() - 1};
  for (const std::size_t boundary : boundaries) {
    for (const std::size_t near : {boundary - 1, boundary, boundary + 1}) {
      if (near < expected.size()) places.push_back(near);
    }
  }
  for (const std::size_t at : places) {
    EXPECT_EQ(log.At(at), expected[at]) << at;
    EXPECT_EQ(log.Substr(at, std::min(at + 40, expected.size())), expected.substr(at, 40)) << at;
    EXPECT_EQ(log.Find('\n', at), expected.find('\n', at)) << at;
    EXPECT_EQ(log.ReverseFind('\n', at), expected.rfind('\n', at)) << at;
    EXPECT_EQ(log.Find('@', at), std::string::npos) << at;
    const std::size_t from = at > 3000 ? at - 3000 : 0;
    const std::size_t to = std::min(at + 3000, expected.size());
    long characters = 0;
    for (std::size_t i = from; i < to; ++i) characters += (static_cast<unsigned char>(expected[i]) & 0xC0) != 0x80;
    EXPECT_EQ(log.CountPanePositions(from, to), characters) << at;
  }

  // The pane shows from the pieces what it would from the one string.
  for (const std::size_t limit : {std::size_t{100}, (std::size_t{3} << 20) + 77, expected.size() * 2}) {
    LogPaneView fromPieces(limit);
    const LogPaneView::Update a = fromPieces.Refresh(log, true);
    const std::size_t offset = expected.size() - 40;
    const Pane b = PaneOf(expected, limit, offset);
    EXPECT_EQ(a.replace, b.replace) << limit;
    EXPECT_EQ(a.text, b.text) << limit;
    EXPECT_EQ(fromPieces.PanePosition(log, offset), b.position) << limit;
  }

  log.Clear();
  EXPECT_EQ(log.Whole(), "");
  EXPECT_EQ(log.ReverseFind('\n', 10), std::string::npos);
  log.AppendLine("\x93\xfa");
  EXPECT_EQ(log.Whole(), "日\n");
}

}  // namespace
}  // namespace quillmark::app
