#include "platform/execute_program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/recording_program.h"
#include "tests/support/temp_tree.h"

namespace quillmark::platform {
namespace {

using testing::HasNoChild;
using testing::RecordingProgram;
using testing::TempTree;
using testing::WaitUntilNoChild;

class ScopedPath {
 public:
  explicit ScopedPath(const std::string& front) : previous_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", (front + ":" + previous_).c_str(), 1);
  }
  ~ScopedPath() { setenv("PATH", previous_.c_str(), 1); }
  ScopedPath(const ScopedPath&) = delete;
  ScopedPath& operator=(const ScopedPath&) = delete;

 private:
  std::string previous_;
};

TEST(ExecuteProgramTest, PassesEveryArgumentAsItStandsWithoutAShell) {
  TempTree tree;
  const RecordingProgram recorder(tree, "recorder");
  const std::string marker = tree.PathOf("ran-by-a-shell");
  const std::vector<std::string> arguments = {
      recorder.Path(),
      "two words",
      "",
      "a;touch " + marker,
      "$(touch " + marker + ")",
      "`touch " + marker + "`",
      "*",
      "\"quoted\" 'single' back\\slash",
      "%L %F",
      "秀丸\xE3\x82\xA8",
      "line\nbreak",
  };

  const ExecuteResult result = ExecuteProgram(arguments);

  ASSERT_TRUE(result.Started()) << result.error;
  const auto recording = recorder.Wait();
  ASSERT_TRUE(recording);
  EXPECT_EQ(recording->arguments, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_TRUE(WaitUntilNoChild());
}

TEST(ExecuteProgramTest, FindsABareNameOnTheSearchPath) {
  TempTree tree;
  const RecordingProgram recorder(tree, "bin/quillmark-test-editor");
  const ScopedPath path(tree.PathOf("bin"));

  ASSERT_TRUE(ExecuteProgram({"quillmark-test-editor", "+12"}).Started());

  const auto recording = recorder.Wait();
  ASSERT_TRUE(recording);
  EXPECT_EQ(recording->arguments, std::vector<std::string>{"+12"});
  EXPECT_TRUE(WaitUntilNoChild());
}

TEST(ExecuteProgramTest, ReapsEveryChildSoThatNoZombieIsLeft) {
  TempTree tree;
  std::vector<RecordingProgram> recorders;
  for (int i = 0; i < 4; ++i) recorders.emplace_back(tree, "recorder" + std::to_string(i));

  for (const RecordingProgram& recorder : recorders) ASSERT_TRUE(ExecuteProgram({recorder.Path()}).Started());

  for (const RecordingProgram& recorder : recorders) ASSERT_TRUE(recorder.Wait());
  EXPECT_TRUE(WaitUntilNoChild());
}

TEST(ExecuteProgramTest, DetachesTheProgramFromOurSessionAndDescriptors) {
  TempTree tree;
  const RecordingProgram recorder(tree, "recorder");
  constexpr int kPlanted = 77;
  const int opened = ::open("/dev/null", O_RDONLY);  // inheritable on purpose
  ASSERT_GE(opened, 0);
  ASSERT_EQ(::dup2(opened, kPlanted), kPlanted);
  ::close(opened);

  const ExecuteResult result = ExecuteProgram({recorder.Path()});
  ::close(kPlanted);

  ASSERT_TRUE(result.Started());
  const auto recording = recorder.Wait();
  ASSERT_TRUE(recording);
  const std::vector<int>& fds = recording->descriptors;
  const auto isOpen = [&fds](int fd) { return std::find(fds.begin(), fds.end(), fd) != fds.end(); };
  EXPECT_TRUE(isOpen(0) && isOpen(1) && isOpen(2));
  EXPECT_FALSE(isOpen(kPlanted));
  // A session leader's session id is its own process id.
  const std::string& sessionAndPid = recording->sessionAndPid;
  const std::size_t space = sessionAndPid.find(' ');
  ASSERT_NE(space, std::string::npos) << sessionAndPid;
  EXPECT_EQ(sessionAndPid.substr(0, space), sessionAndPid.substr(space + 1));
  EXPECT_NE(sessionAndPid.substr(0, space), std::to_string(getsid(0)));
  EXPECT_TRUE(WaitUntilNoChild());
}

TEST(ExecuteProgramTest, ReportsWhyAProgramCannotStart) {
  TempTree tree;
  const std::string shellRan = tree.PathOf("ran-by-a-shell");
  tree.MakeFolder("folder");
  tree.WriteFile("not-executable", "#!/bin/sh\n: > '" + shellRan + "'\n");
  tree.WriteFile("no-interpreter-line", ": > '" + shellRan + "'\n");
  std::filesystem::permissions(tree.PathOf("no-interpreter-line"), std::filesystem::perms::owner_all);
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    int error;
    const char* message;
  };
  const Case cases[] = {
      {"bare name not on the path", {"quillmark-no-such-editor"}, ENOENT, "Exec Error : File not found."},
      {"missing file", {tree.PathOf("missing")}, ENOENT, "Exec Error : File not found."},
      {"missing folder", {tree.PathOf("missing/editor")}, ENOENT, "Exec Error : File not found."},
      {"empty program name", {""}, ENOENT, "Exec Error : File not found."},
      {"file used as a folder", {tree.PathOf("not-executable/editor")}, ENOTDIR, "Exec Error : Path not found. "},
      {"folder", {tree.PathOf("folder")}, EACCES, "Exec Error : Access denied. "},
      {"no execute permission", {tree.PathOf("not-executable")}, EACCES, "Exec Error : Access denied. "},
      {"script without #!", {tree.PathOf("no-interpreter-line")}, ENOEXEC, "Exec Error : Other Error (8)"},
      {"no arguments at all", {}, EINVAL, "Exec Error : Other Error (22)"},
  };
  for (const Case& c : cases) {
    const ExecuteResult result = ExecuteProgram(c.arguments);
    EXPECT_FALSE(result.Started()) << c.what;
    EXPECT_EQ(result.error, c.error) << c.what;
    EXPECT_EQ(ExecuteErrorMessage(result.error), c.message) << c.what;
  }
  // A failed start leaves nothing running: no child, and no shell tried in
  // place of the script.
  EXPECT_TRUE(HasNoChild());
  EXPECT_FALSE(std::filesystem::exists(shellRan));
}

TEST(ExecuteErrorTextTest, UsesTheErrorTableWithItsTrailingSpaces) {
  EXPECT_EQ(ExecuteErrorText(ENOENT), "File not found.");
  EXPECT_EQ(ExecuteErrorText(ENOTDIR), "Path not found. ");
  EXPECT_EQ(ExecuteErrorText(EACCES), "Access denied. ");
  EXPECT_EQ(ExecuteErrorText(ENOMEM), "Out of memory. ");
  EXPECT_EQ(ExecuteErrorText(11), "Other Error (11)");
  EXPECT_EQ(ExecuteErrorMessage(ENOMEM), "Exec Error : Out of memory. ");
  EXPECT_EQ(ExecuteErrorMessage(E2BIG), "Exec Error : Other Error (7)");
}

}  // namespace
}  // namespace quillmark::platform
