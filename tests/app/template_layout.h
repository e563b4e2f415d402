// Checks that a dialog was built as its template says.
#pragma once

#include <gtest/gtest.h>
#include <wx/dialog.h>

#include "res/dialog_template.h"
#include "res/resource_ids.h"

namespace quillmark::testing {

// One child per control, in template order (the tab order), each with the
// template's id, left edge and width, and the dialog fixed at the
// template's size.
inline void ExpectControlsFollowTemplate(wxDialog& dialog, const res::DialogTemplate& table) {
  const wxWindowList& children = dialog.GetChildren();
  ASSERT_EQ(children.size(), table.controls.size());
  std::size_t index = 0;
  for (wxWindow* child : children) {
    const res::ControlTemplate& control = table.controls[index++];
    if (control.id != res::kStaticControl) {
      EXPECT_EQ(child->GetId(), control.id) << "control " << index;
    }
    const wxPoint position = dialog.ConvertDialogToPixels(wxPoint(control.rect.x, control.rect.y));
    const wxSize size = dialog.ConvertDialogToPixels(wxSize(control.rect.width, control.rect.height));
    EXPECT_EQ(child->GetPosition().x, position.x) << "control " << index;
    EXPECT_EQ(child->GetSize().x, size.x) << "control " << index;
  }
  EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(table.width, table.height)));
  EXPECT_EQ(dialog.GetMinSize(), dialog.GetMaxSize()) << "fixed size";
}

}  // namespace quillmark::testing
