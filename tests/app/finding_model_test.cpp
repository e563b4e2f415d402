// The window's findings: every row reads back as the engine gave it, past
// a piece's end, after batches have joined and after a row is deleted;
// the result list shows as many rows as the model holds.
#include "app/finding_model.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <string>
#include <vector>

#include "app/result_list.h"

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

void ExpectRows(const FindingModel& model, const std::vector<engine::Finding>& expected) {
  ASSERT_EQ(model.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(model.At(i), expected[i]) << i;
    ASSERT_EQ(model.Path(i), expected[i].path) << i;
  }
}

TEST(FindingModel, RowsReadBackAsGivenPastAPieceAndAfterADeletion) {
  FindingModel model;
  std::vector<engine::Finding> expected;
  constexpr int kRows = 30000;  // bytes for more than one piece
  for (int i = 0; i < kRows; ++i) {
    expected.push_back(MakeFinding(i));
    model.Append(expected.back());
  }
  // A literal larger than a piece, and an empty one.
  expected.push_back(MakeFinding(kRows));
  expected.back().content = std::string(300 * 1024, 'y');
  model.Append(expected.back());
  expected.push_back(MakeFinding(kRows + 1));
  expected.back().content.clear();
  model.Append(expected.back());
  ExpectRows(model, expected);

  model.Erase(10);
  expected.erase(expected.begin() + 10);
  model.Erase(model.size());  // no such row: nothing
  ExpectRows(model, expected);

  model.Clear();
  EXPECT_TRUE(model.empty());
  model.Append(expected[0]);
  ExpectRows(model, {expected[0]});
}

// Batches made elsewhere join without their bytes moving, and the rows
// appended after a batch still share their path with the row before.
TEST(FindingModel, BatchesJoinAtTheEnd) {
  FindingModel model;
  std::vector<engine::Finding> expected;
  int next = 0;
  for (const int batchRows : {0, 5, 20000, 1, 0, 7}) {
    FindingModel batch;
    for (int i = 0; i < batchRows; ++i, ++next) {
      expected.push_back(MakeFinding(next));
      batch.Append(expected.back());
    }
    model.Append(std::move(batch));
    EXPECT_TRUE(batch.empty());
    // A row of the window's own after each batch.
    expected.push_back(MakeFinding(next++));
    model.Append(expected.back());
  }
  ExpectRows(model, expected);

  FindingModel into;
  into.Append(std::move(model));  // into an empty model
  EXPECT_TRUE(model.empty());
  ExpectRows(into, expected);
}

TEST(ResultList, ShowsTheModelsRows) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "rows");
  FindingModel model;
  auto* list = new ResultList(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT, model);
  for (const char* column : {"text", "line", "path"}) list->AppendColumn(column);
  for (int i = 0; i < 3; ++i) model.Append(MakeFinding(i));
  EXPECT_EQ(list->GetItemCount(), 0) << "shown from the next ShowRows on";
  list->ShowRows();
  ASSERT_EQ(list->GetItemCount(), 3);
  EXPECT_EQ(list->GetItemText(2, 1), "3");
  EXPECT_EQ(list->GetItemText(2, 2), "sub0/file.c");

  model.Erase(0);
  list->RowErased(0);
  EXPECT_EQ(list->GetItemCount(), 2);
  EXPECT_EQ(list->GetItemText(0, 1), "2");

  model.Clear();
  list->RowsCleared();
  EXPECT_EQ(list->GetItemCount(), 0);
  frame->Destroy();
}

}  // namespace
}  // namespace quillmark::app
