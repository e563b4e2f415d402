// A finding's file, whatever its name, reaches the editor as one argument
// that names it: the walk's relative path, rebuilt with the root, is never
// read by a shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_command.h"
#include "platform/execute_program.h"
#include "tests/support/memory_sink.h"
#include "tests/support/recording_program.h"
#include "tests/support/temp_tree.h"

namespace quillmark::editor {
namespace {

using Arguments = std::vector<std::string>;
using testing::RecordingProgram;
using testing::TempTree;

TEST(EditorLaunchFoundFileTest, EveryFoundFileReachesTheEditorByItsOwnName) {
  TempTree tree;
  const RecordingProgram editor(tree, "editor");
  const std::string marker = tree.PathOf("src/ran");
  const std::string touch = "touch ran";  // run by a shell in src, makes the marker
  const std::vector<std::string> names = {
      "a;" + touch + ".c",
      "$(" + touch + ").c",
      "`" + touch + "`.c",
      "q\"u'o\"te %L %F.c",
      "two  spaces\t.c",
      "\xFF\xFE sjis \x82\xA0 && " + touch + " | cat > x.c",
  };
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string folder = i % 2 ? "sub dir;" + touch + "/" : "";
    tree.WriteFile("src/" + folder + names[i], std::string(i, '\n') + "\"\x82\xA0\"\n");
  }

  const std::string root = tree.PathOf("src");
  testing::MemorySink sink;
  engine::SearchOptions options = testing::OptionsFor(root);
  options.extensions = {"c"};
  ASSERT_TRUE(testing::WalkInto(sink, std::move(options)));
  ASSERT_EQ(sink.findings.size(), names.size());

  for (const engine::Finding& finding : sink.findings) {
    SCOPED_TRACE(finding.path);
    const EditorTarget target{std::to_string(finding.line), root, finding.path};
    for (const char* parameterTemplate : {"+%L %F", "-n%L \"%F\""}) {
      editor.Forget();
      ASSERT_TRUE(platform::ExecuteProgram(BuildEditorArguments(editor.Path(), parameterTemplate, target)).Started());
      const auto recording = editor.Wait();
      ASSERT_TRUE(recording);
      ASSERT_EQ(recording->arguments.size(), 2u);
      EXPECT_EQ(recording->arguments[0], (parameterTemplate[0] == '+' ? "+" : "-n") + std::to_string(finding.line));
      EXPECT_EQ(recording->arguments[1], root + "/" + finding.path);
      // The argument names the very file the finding came from.
      const std::string contents = testing::ReadWholeFile(recording->arguments[1]);
      EXPECT_EQ(std::count(contents.begin(), contents.end(), '\n'), finding.line);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_TRUE(testing::WaitUntilNoChild());
}

}  // namespace
}  // namespace quillmark::editor
