// The editor launch from the result list, on real processes: a recording
// editor receives what the user's editor would.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/settings_dialog.h"
#include "main_dialog_driver.h"
#include "message_recorder.h"
#include "tests/support/recording_program.h"
#include "tests/support/temp_tree.h"

namespace quillmark::testing {
namespace {

using Arguments = std::vector<std::string>;

class EditorLaunchTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(WaitUntilNoChild()); }

  // A search of `root` fixes the root path that launches use; the rows
  // are then put in by hand.
  void SearchIn(const std::string& root) {
    window.Search(root);
    recorder.messages.clear();
  }
  void AddRow(const std::string& line, const std::string& path) {
    window.AddFinding(Found("text", std::stoll(line), path));
  }
  void UseEditor(const std::string& program, const std::string& parameterTemplate) {
    editor::EditorSettings& values = window.dialog.GetSettingsDialog().values;
    values.editorPath = program;
    values.editorParam = parameterTemplate;
  }
  void DoubleClick(long rowUnderPointer) {
    wxListEvent activation(wxEVT_LIST_ITEM_ACTIVATED, res::kResultList);
    activation.m_itemIndex = rowUnderPointer;
    activation.SetEventObject(&window.List());
    window.List().ProcessWindowEvent(activation);
  }
  // The arguments the editor got from the E key on `row`.
  std::optional<Arguments> LaunchOn(long row) {
    editor.Forget();
    window.SelectRow(row);
    window.PressListKey('E');
    const auto recording = editor.Wait();
    if (!recording) return std::nullopt;
    return recording->arguments;
  }

  TempTree sources;
  TempTree tools;
  TempTree settingsFolder;
  RecordingProgram editor{tools, "editor"};
  MessageRecorder recorder;
  MainDialogDriver window{settingsFolder.PathOf("quillmark.ini")};
};

TEST_F(EditorLaunchTest, TheTemplateBecomesTheEditorsArguments) {
  const std::string root = sources.Root();
  struct Case {
    const char* parameterTemplate;
    std::string typedRoot;
    const char* line;
    const char* path;
    Arguments expected;
  };
  const Case cases[] = {
      {"/j%L %F", root, "12", "sub/a.cpp", {"/j12", root + "/sub/a.cpp"}},
      {"%F+%L", root, "12", "a.cpp", {root + "/a.cpp+12"}},
      {"%F %F", root, "7", "a.cpp", {root + "/a.cpp", root + "/a.cpp"}},
      {"%l %f -%L", root, "7", "a.cpp", {"%l", "%f", "-7"}},
      {"", root, "7", "a.cpp", {}},
      {"%F", root + "/", "3", "a.cpp", {root + "//a.cpp"}},
      {"-n%L %F", root, "3", "%L/b%F.cpp", {"-n3", root + "/%L/b%F.cpp"}},
      {"+%L %F", root, "4", "two words/a b.c", {"+4", root + "/two words/a b.c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameterTemplate);
    SearchIn(c.typedRoot);
    AddRow(c.line, c.path);
    UseEditor(editor.Path(), c.parameterTemplate);
    EXPECT_EQ(LaunchOn(0), c.expected);
  }
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(EditorLaunchTest, ARowFoundInANameThatIsNoUtf8ReachesTheEditorByteForByte) {
  const std::string name = std::string("\x93\xfa") + ".c";  // 日.c in Shift_JIS
  sources.WriteFile(name, "\n\n\"" + std::string(kSjisNihon) + "\"\n");
  window.Search(sources.Root());
  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(window.Rows()[0].path, "日.c") << "shown decoded";
  UseEditor(editor.Path(), "+%L %F");

  EXPECT_EQ(LaunchOn(0), (Arguments{"+3", sources.PathOf(name)}));
}

TEST_F(EditorLaunchTest, DoubleClickOpensTheSelectedRowNotTheOneUnderThePointer) {
  SearchIn(sources.Root());
  AddRow("1", "first.c");
  AddRow("2", "second.c");
  AddRow("3", "third.c");
  UseEditor(editor.Path(), "%L %F");
  window.SelectRow(1);

  DoubleClick(2);

  const auto recording = editor.Wait();
  ASSERT_TRUE(recording);
  EXPECT_EQ(recording->arguments, (Arguments{"2", sources.PathOf("second.c")}));
}

TEST_F(EditorLaunchTest, TheRootIsTheSearchsNotTheFolderFieldAsItStandsNow) {
  SearchIn(sources.Root());
  AddRow("5", "a.c");
  window.SetFolder("/somewhere/else");
  UseEditor(editor.Path(), "%F");

  EXPECT_EQ(LaunchOn(0), (Arguments{sources.PathOf("a.c")}));
}

TEST_F(EditorLaunchTest, WithoutASelectedRowNothingHappens) {
  SearchIn(sources.Root());
  AddRow("1", "a.c");
  // A start would fail loudly: no box means no start was tried.
  UseEditor(tools.PathOf("missing"), "%F");

  window.PressListKey('E');
  DoubleClick(0);

  EXPECT_TRUE(recorder.messages.empty());
  EXPECT_EQ(window.SelectedRow(), -1);
}

TEST_F(EditorLaunchTest, AProgramThatCannotStartGivesOneWarningAndChangesNothing) {
  tools.WriteFile("not-executable", "#!/bin/sh\n");
  tools.MakeFolder("folder");
  SearchIn(sources.Root());
  AddRow("1", "a.c");
  AddRow("2", "b.c");
  const std::vector<Row> rows = window.Rows();
  struct Case {
    std::string program;
    const char* message;
  };
  const Case cases[] = {
      {tools.PathOf("missing"), "Exec Error : File not found."},
      {"quillmark-no-such-editor", "Exec Error : File not found."},
      {"", "Exec Error : File not found."},
      {tools.PathOf("not-executable"), "Exec Error : Access denied. "},
      {tools.PathOf("folder"), "Exec Error : Access denied. "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    recorder.messages.clear();
    UseEditor(c.program, "+%L %F");
    window.SelectRow(1);

    window.PressListKey('E');

    EXPECT_EQ(recorder.messages, std::vector{Warning(c.message)});
    EXPECT_EQ(window.Rows(), rows);
    EXPECT_EQ(window.SelectedRow(), 1);
    EXPECT_EQ(window.dialog.GetSettingsDialog().values.editorPath, c.program);
  }
  EXPECT_EQ(window.dialog.GetLogText().find("Exec Error"), std::string::npos) << "nothing goes to the log";
}

}  // namespace
}  // namespace quillmark::testing
