// Starting another program (the user's editor) and forgetting it.
#pragma once

#include <string>
#include <vector>

namespace quillmark::platform {

struct ExecuteResult {
  int error = 0;  // 0 when the program was started, else the error number
  bool Started() const { return error == 0; }
};

// Starts arguments[0], looked up on PATH unless it holds a "/", with the
// whole vector as its arguments, without a shell: no byte of any argument
// has a meaning of its own. The program is never waited for:
// - it runs in a session of its own, so that closing the terminal we were
//   started from, or an interrupt typed there, does not end the editor;
// - it gets our environment and current directory, no descriptor but
//   0, 1 and 2, an empty signal mask and default signal actions;
// - a detached thread reaps it when it ends, so it never stays a zombie.
// A failure to find or execute the program is reported here, not by the
// child (ENOENT, ENOTDIR, EACCES for a folder or a file without execute
// permission, ENOEXEC for a file that is no executable, a script without
// "#!" included: no shell is tried in its place). An empty vector gives
// EINVAL.
ExecuteResult ExecuteProgram(const std::vector<std::string>& arguments);

// A program to start, in the form each system starts it from: POSIX runs
// `arguments` (the program first) as ExecuteProgram does; Windows hands
// the shell the program and `parameters`, the text the arguments were
// split from, as it stands.
struct ProgramLaunch {
  std::vector<std::string> arguments;
  std::string parameters;
};
ExecuteResult StartProgram(const ProgramLaunch& launch);

// The error table's text for a failed start: "File not found." (ENOENT),
// "Path not found. " (ENOTDIR), "Access denied. " (EACCES),
// "Out of memory. " (ENOMEM), otherwise "Other Error (N)" with the error
// number. Trailing spaces belong to the texts. On Windows the numbers are
// the shell's (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_ACCESS_DENIED, ERROR_NOT_ENOUGH_MEMORY).
std::string ExecuteErrorText(int error);

// "Exec Error : " followed by ExecuteErrorText(error).
inline std::string ExecuteErrorMessage(int error) { return "Exec Error : " + ExecuteErrorText(error); }

}  // namespace quillmark::platform
