#include "app/result_list.h"

#include <new>
#include <type_traits>

#include "platform/code_page.h"
#include "report/finding_text.h"

namespace quillmark::app {

ResultList::ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style)
    : wxListCtrl(parent, id, position, size, style | wxLC_VIRTUAL) {
  FitRowsToFont();
}

bool ResultList::SetFont(const wxFont& font) {
  if (!wxListCtrl::SetFont(font)) return false;
  FitRowsToFont();
  return true;
}

void ResultList::FitRowsToFont() {
  int width = 0;
  int height = 0;
  int descent = 0;
  int leading = 0;
  const wxFont font = GetFont();
  GetTextExtent(wxString::FromUTF8("Hgjpqy_|日本"), &width, &height, &descent, &leading, &font);
  // A spare descent below the full height keeps a glyph drawn on the
  // bottom edge (the underscore) inside the row.
  const int rowHeight = height + leading + descent;
  rowHeight_.Create(1, rowHeight, false, 1);
  rowHeight_.Add(wxBitmap(1, rowHeight));
  // Setting the list again makes the control measure its rows anew.
  SetImageList(&rowHeight_, wxIMAGE_LIST_SMALL);
}

void ResultList::AppendRow(const engine::Finding& finding) {
  // Rows are moved and dropped as bytes, never destroyed one by one.
  static_assert(std::is_trivially_copyable_v<StoredRow> && std::is_trivially_destructible_v<StoredRow>);
  if (rowCount_ == rowBlocks_.size() * kRowsPerBlock) rowBlocks_.push_back(std::make_unique<MemoryBlock>(kBlockBytes));
  // A file's findings come one after another: its path is kept once.
  std::string_view path;
  if (rowCount_ > 0 && Stored(rowCount_ - 1).path == finding.path) {
    path = Stored(rowCount_ - 1).path;
  } else {
    path = bytes_.Keep(finding.path);
  }
  const std::string_view content = bytes_.Keep(finding.content);
  new (&Stored(rowCount_)) StoredRow{content, path, finding.line, finding.column, finding.encoding, finding.quote};
  ++rowCount_;
}

void ResultList::ShowNewRows() {
  if (GetItemCount() != static_cast<long>(rowCount_)) SetItemCount(static_cast<long>(rowCount_));
}

void ResultList::DeleteRow(long row) {
  if (row < 0 || row >= GetItemCount()) return;
  for (std::size_t below = static_cast<std::size_t>(row) + 1; below < rowCount_; ++below) {
    Stored(below - 1) = Stored(below);
  }
  --rowCount_;
  // Moves the selection and focus of the rows below up by one.
  DeleteItem(row);
}

void ResultList::DeleteAllRows() {
  rowBlocks_.clear();
  rowCount_ = 0;
  bytes_.Clear();
  DeleteAllItems();
}

std::optional<engine::Finding> ResultList::RowAt(long row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rowCount_) return std::nullopt;
  const StoredRow& stored = Stored(static_cast<std::size_t>(row));
  engine::Finding finding;
  finding.content = stored.content;
  finding.line = stored.line;
  finding.column = stored.column;
  finding.path = stored.path;
  finding.encoding = stored.encoding;
  finding.quote = stored.quote;
  return finding;
}

std::string ResultList::PathBytes(long row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rowCount_) return std::string();
  return std::string(Stored(static_cast<std::size_t>(row)).path);
}

wxString ResultList::OnGetItemText(long item, long column) const {
  const std::optional<engine::Finding> found = RowAt(item);
  if (!found) return wxString();
  const engine::Finding& row = *found;
  switch (column) {
    case 0:
      return wxString::FromUTF8(report::DisplayText(row));
    case 1:
      return wxString::FromUTF8(report::LineText(row));
    default:
      return wxString::FromUTF8(platform::ToDisplayText(row.path));
  }
}

}  // namespace quillmark::app
