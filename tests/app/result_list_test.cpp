// The result list keeps its rows in blocks, a path shared with the row
// before kept once: every row reads back as the engine gave it, past a
// block's end and after a row is deleted.
#include "app/result_list.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <string>
#include <vector>

namespace quillmark::app {
namespace {

engine::Finding MakeFinding(int i) {
  engine::Finding finding;
  finding.content = "\x93\xfa\x96\x7b " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 40), 'x');
  finding.line = i + 1;
  finding.column = i % 7 + 1;
  finding.path = "sub" + std::to_string(i / 3) + "/file.c";  // three rows a file
  finding.encoding = i % 2 == 0 ? engine::SourceEncoding::ShiftJis : engine::SourceEncoding::EucJp;
  finding.quote = i % 5 == 0 ? '\'' : '"';
  return finding;
}

TEST(ResultList, RowsReadBackAsGivenPastABlockAndAfterADeletion) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "rows");
  auto* list = new ResultList(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
  for (const char* column : {"text", "line", "path"}) list->AppendColumn(column);
  constexpr int kRows = 100000;  // more than one block of rows
  std::vector<engine::Finding> expected;
  for (int i = 0; i < kRows; ++i) {
    expected.push_back(MakeFinding(i));
    list->AppendRow(expected.back());
  }
  EXPECT_EQ(list->GetItemCount(), 0) << "shown from the next ShowNewRows on";
  list->ShowNewRows();
  ASSERT_EQ(list->GetItemCount(), kRows);
  ASSERT_EQ(list->RowCount(), static_cast<std::size_t>(kRows));
  for (int i = 0; i < kRows; ++i) {
    ASSERT_EQ(list->RowAt(i), expected[static_cast<std::size_t>(i)]) << i;
  }
  EXPECT_EQ(list->PathBytes(kRows - 1), expected.back().path);
  EXPECT_FALSE(list->RowAt(kRows).has_value());
  EXPECT_FALSE(list->RowAt(-1).has_value());

  list->DeleteRow(10);
  expected.erase(expected.begin() + 10);
  ASSERT_EQ(list->RowCount(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(list->RowAt(static_cast<long>(i)), expected[i]) << i;

  list->DeleteAllRows();
  EXPECT_EQ(list->RowCount(), 0u);
  EXPECT_EQ(list->GetItemCount(), 0);
  list->AppendRow(expected[0]);
  list->ShowNewRows();
  EXPECT_EQ(list->RowAt(0), expected[0]);
  frame->Destroy();
}

}  // namespace
}  // namespace quillmark::app
