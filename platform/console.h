// The standard streams of a console program: whether one is a terminal,
// writes that show Japanese text on a Windows console whatever its code
// page, and the program's arguments as UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::platform {

bool IsTerminal(std::FILE* stream);

// Writes all of `bytes` (UTF-8 or any bytes) to `stream`, from one thread
// only; false when the stream refused them. Bytes go out as they are to a
// file or a pipe; a Windows console is given them as UTF-16.
bool WriteStream(std::FILE* stream, std::string_view bytes);

// The arguments after the program's name, as UTF-8 (on Windows read from
// the UTF-16 command line, not from the ANSI `argv`). Puts the standard
// streams into binary mode where the system has a text mode, so that an
// LF goes out as one byte as on POSIX.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace quillmark::platform
