// The result list: a report view whose rows are the findings of the
// current search in the order found. The rows live in the control itself
// and are drawn on demand, so that adding one costs next to nothing
// however many there are.
#pragma once

#include <wx/listctrl.h>

#include <string>
#include <vector>

namespace quillmark::app {

class ResultList final : public wxListCtrl {
 public:
  // `style` is the report-view style of the template; the list is virtual.
  ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style);

  // `path` is shown; `pathBytes` is the same path as the file system gives
  // it, which the editor launch needs when it is no valid UTF-8.
  void AppendRow(const wxString& text, const wxString& line, const wxString& path, std::string pathBytes);
  void DeleteRow(long row);
  void DeleteAllRows();

  // The relative path of `row` byte for byte; empty when there is no such row.
  std::string PathBytes(long row) const;

 private:
  wxString OnGetItemText(long item, long column) const override;

  struct Row {
    wxString text;
    wxString line;
    wxString path;
    std::string pathBytes;
  };
  std::vector<Row> rows_;
};

}  // namespace quillmark::app
