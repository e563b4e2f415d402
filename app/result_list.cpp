#include "app/result_list.h"

#include "platform/code_page.h"
#include "report/finding_text.h"

namespace quillmark::app {

ResultList::ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style,
                       const FindingModel& rows)
    : wxListCtrl(parent, id, position, size, style | wxLC_VIRTUAL), rows_(rows) {
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
  // A new list each time (wxMSW refuses to create one twice), set before
  // the old one goes; setting it makes the control measure its rows anew.
  auto images = std::make_unique<wxImageList>(1, rowHeight, false, 1);
  images->Add(wxBitmap(1, rowHeight));
  SetImageList(images.get(), wxIMAGE_LIST_SMALL);
  rowHeight_ = std::move(images);
}

void ResultList::ShowRows() {
  if (GetItemCount() != static_cast<long>(rows_.size())) SetItemCount(static_cast<long>(rows_.size()));
}

void ResultList::RowErased(long row) {
  if (row >= 0 && row < GetItemCount()) DeleteItem(row);
}

void ResultList::RowsCleared() { DeleteAllItems(); }

wxString ResultList::OnGetItemText(long item, long column) const {
  if (item < 0 || static_cast<std::size_t>(item) >= rows_.size()) return wxString();
  const engine::Finding row = rows_.At(static_cast<std::size_t>(item));
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
