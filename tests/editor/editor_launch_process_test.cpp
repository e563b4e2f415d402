// The editor command as a started program receives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_command.h"
#include "platform/execute_program.h"
#include "tests/support/recording_program.h"
#include "tests/support/temp_tree.h"

namespace quillmark::editor {
namespace {

using Arguments = std::vector<std::string>;
using testing::RecordingProgram;
using testing::TempTree;
using testing::WaitUntilNoChild;

TEST(EditorLaunchProcessTest, TheEditorReceivesTheExpandedTemplateAsArguments) {
  TempTree tree;
  const RecordingProgram editor(tree, "editor dir/editor");
  const std::string root = tree.PathOf("src");
  const std::string marker = tree.PathOf("ran-by-a-shell");
  struct Case {
    const char* parameterTemplate;
    EditorTarget target;
    Arguments expected;
  };
  const Case cases[] = {
      {"/j%L %F", {"12", root, "sub/a.cpp"}, {"/j12", root + "/sub/a.cpp"}},
      {"%F+%L", {"12", root, "a.cpp"}, {root + "/a.cpp+12"}},
      {"%F %F", {"12", root, "a.cpp"}, {root + "/a.cpp", root + "/a.cpp"}},
      {"%l %f", {"12", root, "a.cpp"}, {"%l", "%f"}},
      {"", {"12", root, "a.cpp"}, {}},
      {"%F", {"3", root + "/", "a.cpp"}, {root + "//a.cpp"}},
      {"-n%L %F", {"3", root, "%L/b%F.cpp"}, {"-n3", root + "/%L/b%F.cpp"}},
      {"+%L %F",
       {"4", root, "two words;touch " + marker + " $(touch " + marker + ") `touch " + marker + "`.cpp"},
       {"+4", root + "/two words;touch " + marker + " $(touch " + marker + ") `touch " + marker + "`.cpp"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameterTemplate);
    editor.Forget();
    ASSERT_TRUE(platform::ExecuteProgram(BuildEditorArguments(editor.Path(), c.parameterTemplate, c.target)).Started());
    const auto recording = editor.Wait();
    ASSERT_TRUE(recording);
    EXPECT_EQ(recording->arguments, c.expected);
  }
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_TRUE(WaitUntilNoChild());
}

}  // namespace
}  // namespace quillmark::editor
