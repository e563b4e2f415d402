// The result list: a virtual report view of the window's FindingModel.
// It keeps no rows of its own: each row is converted for display only
// when drawn, so that a search's rows cost the list nothing until seen.
#pragma once

#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include <memory>

#include "app/finding_model.h"

namespace quillmark::app {

class ResultList final : public wxListCtrl {
 public:
  // `style` is the report-view style of the template; the list is virtual.
  // `rows` is not owned and must outlive the list.
  ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style,
             const FindingModel& rows);

  // A new font makes the rows fit it again.
  bool SetFont(const wxFont& font) override;

  // Shows as many rows as the model holds.
  void ShowRows();
  // The model has just forgotten row `row`: the selection and focus of the
  // rows below move up with them.
  void RowErased(long row);
  // The model has just been emptied.
  void RowsCleared();

 private:
  wxString OnGetItemText(long item, long column) const override;
  // No row shows an image: the image list only sets the rows' height.
  int OnGetItemImage(long) const override { return -1; }
  int OnGetItemColumnImage(long, long) const override { return -1; }
  // The list measures its rows by a capital's height alone, and that with
  // the font it had first; underscores and descenders fell outside.
  void FitRowsToFont();

  const FindingModel& rows_;
  std::unique_ptr<wxImageList> rowHeight_;
};

}  // namespace quillmark::app
