#include "app/result_list.h"

#include <utility>

namespace quillmark::app {

ResultList::ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style)
    : wxListCtrl(parent, id, position, size, style | wxLC_VIRTUAL) {}

void ResultList::AppendRow(const wxString& text, const wxString& line, const wxString& path, std::string pathBytes) {
  rows_.push_back({text, line, path, std::move(pathBytes)});
  SetItemCount(static_cast<long>(rows_.size()));
}

void ResultList::DeleteRow(long row) {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
  rows_.erase(rows_.begin() + row);
  // Moves the selection and focus of the rows below up by one.
  DeleteItem(row);
}

void ResultList::DeleteAllRows() {
  rows_.clear();
  DeleteAllItems();
}

std::string ResultList::PathBytes(long row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return std::string();
  return rows_[static_cast<std::size_t>(row)].pathBytes;
}

wxString ResultList::OnGetItemText(long item, long column) const {
  if (item < 0 || static_cast<std::size_t>(item) >= rows_.size()) return wxString();
  const Row& row = rows_[static_cast<std::size_t>(item)];
  switch (column) {
    case 0:
      return row.text;
    case 1:
      return row.line;
    default:
      return row.path;
  }
}

}  // namespace quillmark::app
