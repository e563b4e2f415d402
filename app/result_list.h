// The result list: a report view whose rows are the findings of the
// current search in the order found. The rows live in the control itself,
// as the engine gave them, and are converted for display only when drawn,
// so that adding one costs next to nothing however many there are.
#pragma once

#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include <string>
#include <vector>

#include "engine/finding.h"

namespace quillmark::app {

class ResultList final : public wxListCtrl {
 public:
  // `style` is the report-view style of the template; the list is virtual.
  ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style);

  // A new font makes the rows fit it again.
  bool SetFont(const wxFont& font) override;

  // Keeps a row at the end. It shows from the next ShowNewRows on, so that
  // a burst of rows invalidates the control once rather than per row.
  void AppendRow(const engine::Finding& finding);
  void ShowNewRows();
  void DeleteRow(long row);
  void DeleteAllRows();

  // The relative path of `row` byte for byte, as the file system gives it
  // (the editor launch needs it when it is no valid UTF-8); empty when
  // there is no such row.
  std::string PathBytes(long row) const;

  // Every row kept, in the list's order (deleted ones gone); the row
  // `row`, or null when there is none.
  const std::vector<engine::Finding>& Rows() const { return rows_; }
  const engine::Finding* RowAt(long row) const {
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? &rows_[static_cast<std::size_t>(row)] : nullptr;
  }

 private:
  wxString OnGetItemText(long item, long column) const override;
  // No row shows an image: the image list only sets the rows' height.
  int OnGetItemImage(long) const override { return -1; }
  int OnGetItemColumnImage(long, long) const override { return -1; }
  // The list measures its rows by a capital's height alone, and that with
  // the font it had first; underscores and descenders fell outside.
  void FitRowsToFont();

  wxImageList rowHeight_;

  std::vector<engine::Finding> rows_;
};

}  // namespace quillmark::app
