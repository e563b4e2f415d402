#include "platform/execute_program.h"

#include <windows.h>
// after windows.h, which it builds on
#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace quillmark::platform {
namespace {

// Quoted as the runtime's splitting reads it back, for callers that give
// a vector.
std::string JoinedParameters(const std::vector<std::string>& arguments) {
  std::string parameters;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (i > 1) parameters += ' ';
    const std::string& argument = arguments[i];
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
      parameters += argument;
      continue;
    }
    parameters += '"';
    for (char c : argument) parameters += c == '"' ? std::string("\\\"") : std::string(1, c);
    parameters += '"';
  }
  return parameters;
}

}  // namespace

ExecuteResult StartProgram(const ProgramLaunch& launch) {
  if (launch.arguments.empty()) return {ERROR_INVALID_PARAMETER};
  // The shell starts the program as the Run box does: a bare name is found
  // on the PATH and in the App Paths, and a document opens in its program.
  const std::wstring file = win32::ToWide(launch.arguments.front());
  const std::wstring parameters = win32::ToWide(launch.parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) return {static_cast<int>(GetLastError())};
  return {};
}

ExecuteResult ExecuteProgram(const std::vector<std::string>& arguments) {
  return StartProgram({arguments, JoinedParameters(arguments)});
}

std::string ExecuteErrorText(int error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return "File not found.";
    case ERROR_PATH_NOT_FOUND:
      return "Path not found. ";
    case ERROR_ACCESS_DENIED:
      return "Access denied. ";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return "Out of memory. ";
    default:
      return "Other Error (" + std::to_string(error) + ")";
  }
}


}  // namespace quillmark::platform
