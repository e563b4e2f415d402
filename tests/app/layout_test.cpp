// The main window as built from its template: controls, tab order, sizes
// and that no text is cut off.
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>

#include "app/about_dialog.h"
#include "app/link_label.h"
#include "editor/settings_dialog.h"
#include "main_dialog_driver.h"
#include "res/main_dialog_template.h"
#include "template_layout.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

class LayoutTest : public ::testing::Test {
 protected:
  TempTree settingsFolder;
  MainDialogDriver window{settingsFolder.PathOf("quillmark.ini")};
};

TEST_F(LayoutTest, ControlsFollowTheTemplateInTabOrder) {
  ExpectControlsFollowTemplate(window.dialog, res::MainDialogTemplate());
  EXPECT_EQ(window.dialog.GetTitle().utf8_string(), "Quillmark - 日本語文字列検索 for C/C++");
}

TEST_F(LayoutTest, StartsIdleWithThreeColumnsAndTheIcon) {
  EXPECT_TRUE(window.Button(res::kSearchButton).IsShown());
  EXPECT_FALSE(window.Button(res::kStopButton).IsShown());
  EXPECT_EQ(window.Button(res::kStopButton).GetRect(), window.Button(res::kSearchButton).GetRect());
  EXPECT_FALSE(window.Button(res::kHiddenCancelButton).IsShown());
  EXPECT_EQ(window.Status(), "");
  EXPECT_EQ(window.LogPane(), "");
  ASSERT_EQ(window.List().GetColumnCount(), 3);
  const char* headers[] = {"文字列", "Line", "ファイルパス"};
  for (int column = 0; column < 3; ++column) {
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    window.List().GetColumn(column, item);
    EXPECT_EQ(item.GetText().utf8_string(), headers[column]);
  }
  EXPECT_TRUE(window.List().HasFlag(wxLC_REPORT));
  EXPECT_TRUE(window.List().HasFlag(wxLC_SINGLE_SEL));
  EXPECT_TRUE(window.Text(res::kStatusField).HasFlag(wxTE_READONLY));
  EXPECT_TRUE(window.Text(res::kLogPane).IsEditable());
  EXPECT_EQ(window.dialog.GetIcons().GetIconCount(), 3u);
}

// Every line of every visible button, label and link fits its control.
void ExpectNoTextCut(wxWindow& dialog) {
  for (wxWindow* child : dialog.GetChildren()) {
    wxString text;
    if (auto* label = dynamic_cast<wxStaticText*>(child)) {
      text = label->GetLabelText();
    } else if (dynamic_cast<wxButton*>(child) || dynamic_cast<app::LinkLabel*>(child)) {
      text = child->GetLabel();
    }
    if (auto* check = dynamic_cast<wxCheckBox*>(child)) {
      // Its box and its text together: what its best size asks for.
      EXPECT_LE(check->GetBestSize().x, check->GetSize().x) << check->GetLabel().utf8_string();
      EXPECT_LE(check->GetBestSize().y, check->GetSize().y) << check->GetLabel().utf8_string();
      continue;
    }
    if (text.empty() || !child->IsShown()) continue;
    const wxArrayString lines = wxSplit(text, '\n');
    int longestLine = 0;
    for (const wxString& line : lines) longestLine = std::max(longestLine, child->GetTextExtent(line).x);
    EXPECT_LE(longestLine, child->GetSize().x) << text.utf8_string();
    EXPECT_LE(static_cast<int>(lines.size()) * child->GetCharHeight(), child->GetSize().y + 2) << text.utf8_string();
  }
}

TEST_F(LayoutTest, ColumnsGrowWithTheDialogUnitsAndShowTheirHeadersWhole) {
  wxListCtrl& list = window.List();
  // Their widths where a dialog unit is 1.5 pixels (96 dpi).
  const int widths[] = {150, 40, 300};
  const double unitScale = window.dialog.ConvertDialogToPixels(wxSize(1000, 0)).x / 1500.0;
  ASSERT_EQ(list.GetColumnCount(), 3);
  for (int column = 0; column < 3; ++column) {
    EXPECT_NEAR(list.GetColumnWidth(column), window.dialog.FromDIP(widths[column]) * unitScale, 1.0) << column;
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    list.GetColumn(column, item);
    EXPECT_LT(list.GetTextExtent(item.GetText()).x, list.GetColumnWidth(column)) << column;
  }
}

TEST_F(LayoutTest, NoTextIsCutInTheMainWindow) { ExpectNoTextCut(window.dialog); }

TEST(AboutLayout, NoTextIsCutInTheAboutBox) {
  app::AboutDialog about;
  ExpectNoTextCut(about);
}

TEST(SettingsLayout, NoTextIsCutInTheSettingsDialog) {
  editor::SettingsDialog settings;
  settings.SetModalRun([](editor::SettingsDialog&) { return wxID_CANCEL; });
  settings.RunModal(nullptr);
  ExpectNoTextCut(settings);
  const wxString face = settings.GetFont().GetFaceName();
  EXPECT_TRUE(face == "IPAGothic" || face == "Noto Sans CJK JP") << face.utf8_string();
}

TEST(SettingsLayout, TheLexerCheckBoxSitsBetweenTheEncodingComboAndTheButtons) {
  editor::SettingsDialog settings;
  settings.SetModalRun([](editor::SettingsDialog&) { return wxID_CANCEL; });
  settings.RunModal(nullptr);
  const wxRect combo = settings.FindWindow(res::kEncodingCombo)->GetRect();
  const wxRect check = settings.FindWindow(res::kCLexerCheck)->GetRect();
  EXPECT_EQ(check.x, combo.x);
  EXPECT_GT(check.y, combo.GetBottom());
  EXPECT_LT(check.GetBottom(), settings.FindWindow(res::kSettingsOkButton)->GetRect().y);
}

TEST_F(LayoutTest, UsesAJapaneseFont) {
  const wxString face = window.dialog.GetFont().GetFaceName();
  EXPECT_TRUE(face == "IPAGothic" || face == "Noto Sans CJK JP") << face.utf8_string();
}

}  // namespace
}  // namespace quillmark::testing
