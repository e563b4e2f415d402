// The About box and its link.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/stattext.h>

#include "app/about_dialog.h"
#include "app/link_label.h"
#include "res/resource_ids.h"

namespace quillmark::testing {
namespace {

class AboutDialogTest : public ::testing::Test {
 protected:
  std::vector<std::string> Labels() {
    std::vector<std::string> labels;
    for (wxWindow* child : about.GetChildren()) {
      if (auto* label = dynamic_cast<wxStaticText*>(child)) labels.push_back(label->GetLabelText().utf8_string());
    }
    return labels;
  }
  void PressOnLink() {
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetEventObject(link);
    link->ProcessWindowEvent(press);
  }

  app::AboutDialog about;
  app::LinkLabel* link = about.GetLink();
};

TEST_F(AboutDialogTest, ShowsTheTitleLineCreditsAndContact) {
  EXPECT_EQ(about.GetTitle().utf8_string(), "Quillmarkについて");
  const std::vector<std::string> labels = Labels();
  ASSERT_EQ(labels.size(), 4u);
  EXPECT_EQ(labels[0], std::string("Quillmark - 日本語文字列検索 for C/C++ Version ") + QUILLMARK_VERSION);
  EXPECT_FALSE(labels[1].empty());
  EXPECT_TRUE(labels[2].starts_with("連絡先: "));
  EXPECT_TRUE(about.GetIcon().IsOk());
}

TEST(AboutVersionTest, TheTitleLineTakesTheBuildsVersion) {
  EXPECT_STREQ(app::ProgramVersion(), QUILLMARK_VERSION);
  EXPECT_EQ(app::WithVersion("Quillmark for C/C++ Version 0.5.0", "12.3.4"), "Quillmark for C/C++ Version 12.3.4");
  EXPECT_EQ(app::WithVersion("Quillmark 開発チーム", "12.3.4"), "Quillmark 開発チーム");
}

TEST_F(AboutDialogTest, TheLinkIsBoldItalicUnderlinedBlueAndRightOfItsTitle) {
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->GetId(), res::kAboutLink);
  EXPECT_TRUE(link->GetLabel().StartsWith("https://"));
  const wxFont& font = link->GetLinkFont();
  EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_EQ(font.GetStyle(), wxFONTSTYLE_ITALIC);
  EXPECT_TRUE(font.GetUnderlined());
  EXPECT_EQ(font.GetFaceName(), about.GetFont().GetFaceName());
  EXPECT_EQ(link->GetForegroundColour(), wxColour(0, 0, 255));
  EXPECT_FALSE(link->AcceptsFocus());

  wxWindow* title = about.GetChildren().back();
  ASSERT_TRUE(dynamic_cast<wxStaticText*>(title));
  EXPECT_LE(title->GetRect().GetRight(), link->GetRect().GetLeft());
  EXPECT_EQ(title->GetRect().GetTop(), link->GetRect().GetTop());
}

TEST_F(AboutDialogTest, EachPressOpensTheAddressAgain) {
  std::vector<std::string> opened;
  link->SetOpener([&](const std::string& address) { opened.push_back(address); });

  PressOnLink();
  PressOnLink();

  const std::string address = link->GetLabel().utf8_string();
  EXPECT_EQ(opened, (std::vector{address, address}));
}

TEST_F(AboutDialogTest, AnEmptyLinkOpensNothing) {
  std::vector<std::string> opened;
  link->SetOpener([&](const std::string& address) { opened.push_back(address); });
  link->SetLabel(wxString());
  PressOnLink();
  EXPECT_TRUE(opened.empty());
}

TEST_F(AboutDialogTest, OkEnterAndEscEndTheBox) {
  auto* ok = dynamic_cast<wxButton*>(about.FindWindow(res::kAboutOkButton));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->IsThisEnabled());
  EXPECT_EQ(about.GetAffirmativeId(), res::kAboutOkButton);

  for (int key : {int(WXK_ESCAPE), 0}) {
    about.Show();
    if (key == WXK_ESCAPE) {
      wxKeyEvent escape(wxEVT_CHAR_HOOK);
      escape.m_keyCode = WXK_ESCAPE;
      escape.SetEventObject(&about);
      about.ProcessWindowEvent(escape);
    } else {
      wxCommandEvent click(wxEVT_BUTTON, res::kAboutOkButton);
      click.SetEventObject(ok);
      ok->ProcessWindowEvent(click);
    }
    EXPECT_FALSE(about.IsShown()) << "key " << key;
  }
}

}  // namespace
}  // namespace quillmark::testing
