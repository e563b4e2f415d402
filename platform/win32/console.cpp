#include "platform/console.h"

#include <windows.h>
// after windows.h, which it builds on
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace quillmark::platform {
namespace {

HANDLE ConsoleOf(std::FILE* stream) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

bool IsTerminal(std::FILE* stream) { return ConsoleOf(stream) != nullptr; }

bool WriteStream(std::FILE* stream, std::string_view bytes) {
  const HANDLE console = ConsoleOf(stream);
  if (console == nullptr) return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  // What the stream holds goes first; the console takes UTF-16, so that
  // Japanese shows whatever its code page. Callers write whole lines.
  std::fflush(stream);
  const std::wstring wide = win32::ToWide(bytes);
  std::size_t done = 0;
  while (done < wide.size()) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
    if (!WriteConsoleW(console, wide.data() + done, piece, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

std::vector<std::string> ProgramArguments(int, char**) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i) arguments.push_back(win32::ToUtf8(wide[i]));
  if (wide != nullptr) LocalFree(wide);
  return arguments;
}

}  // namespace quillmark::platform
