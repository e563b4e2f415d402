// The platform's message box, shown without waiting for it to be closed.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/message_box.h"

namespace quillmark::testing {
namespace {

template <class Control>
std::vector<Control*> Children(wxWindow& window) {
  std::vector<Control*> found;
  for (wxWindow* child : window.GetChildren()) {
    if (auto* control = dynamic_cast<Control*>(child)) found.push_back(control);
  }
  return found;
}

class MessageDialogTest : public ::testing::TestWithParam<app::MessageIcon> {};

TEST_P(MessageDialogTest, IsWideEnoughForItsCaptionAndKeepsTextIconAndOneOk) {
  app::MessageDialog box(nullptr, app::kOutOfMemory, GetParam());
  box.Show();
  wxYield();

  EXPECT_EQ(box.GetTitle().utf8_string(), app::kMessageCaption);
  wxFont titleFont = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  titleFont.MakeBold();
  int captionWidth = 0;
  int captionHeight = 0;
  box.GetTextExtent(app::kMessageCaption, &captionWidth, &captionHeight, nullptr, nullptr, &titleFont);
  EXPECT_GT(box.CaptionWidth(), captionWidth);
  EXPECT_GE(box.GetSize().x, box.CaptionWidth());

  const std::vector<wxStaticText*> labels = Children<wxStaticText>(box);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0]->GetLabelText().utf8_string(), app::kOutOfMemory);
  const std::vector<wxStaticBitmap*> icons = Children<wxStaticBitmap>(box);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_TRUE(icons[0]->GetBitmap().IsOk());
  const std::vector<wxButton*> buttons = Children<wxButton>(box);
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0]->GetId(), wxID_OK);
  EXPECT_EQ(buttons[0]->GetLabelText(), "OK");
  EXPECT_EQ(box.GetAffirmativeId(), wxID_OK);
  EXPECT_EQ(box.GetEscapeId(), wxID_OK);
  // The text is shown whole beside the icon.
  EXPECT_GE(labels[0]->GetSize().x, labels[0]->GetBestSize().x);
  box.Hide();
}

INSTANTIATE_TEST_SUITE_P(BothIcons, MessageDialogTest,
                         ::testing::Values(app::MessageIcon::Information, app::MessageIcon::Warning),
                         [](const ::testing::TestParamInfo<app::MessageIcon>& info) {
                           return info.param == app::MessageIcon::Warning ? "Warning" : "Information";
                         });

}  // namespace
}  // namespace quillmark::testing
