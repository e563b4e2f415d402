// What the editor launch passes to the editor: the parameter text expanded
// from the EditorParam template, and the argument vector made from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/execute_program.h"

namespace quillmark::editor {

// The finding the editor is to open, as the result list shows it.
struct EditorTarget {
  std::string lineText;      // the line column: decimal digits
  std::string rootPath;      // the root of the search that found it
  std::string relativePath;  // the path column, relative to rootPath
};

// One stretch of an expanded parameter text. The file path inserted for
// "%F" is marked, so that splitting into arguments takes its bytes as
// they stand: a space or a double quote in a file name never splits an
// argument or ends a quoted stretch.
struct ParameterPiece {
  std::string text;
  bool isFilePath = false;
};

// The full path handed to the editor: root path, the separator, relative path, in
// double quotes. The separator is always added, as the user typed the root:
// a root ending in "/" gives "//", which Linux and macOS read as one "/".
std::string QuotedFilePath(const EditorTarget& target);

// `text` with every `placeholder` replaced by `replacement`, left to right;
// the search goes on after the inserted text, which is never scanned again.
std::string ReplaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement);

// The template with every "%L" replaced by the line text, then every "%F"
// by QuotedFilePath. Exact, case-sensitive matches; "%l", "%f" and every
// other byte pass unchanged; an empty template gives an empty text.
std::vector<ParameterPiece> ExpandEditorParameterPieces(std::string_view parameterTemplate,
                                                        const EditorTarget& target);
std::string ExpandEditorParameters(std::string_view parameterTemplate, const EditorTarget& target);

// Splits a parameter text into arguments, as a Windows program's runtime
// would split its command line (without its backslash escapes, which would
// eat the separators of Windows-style templates):
// - spaces and tabs outside double quotes separate arguments; a run of them
//   counts as one, and leading or trailing ones give no argument;
// - a double quote opens or closes a quoted stretch and is removed; inside
//   it spaces and tabs are ordinary; a stretch left open runs to the end;
// - quotes join with the text around them: -f"a b"c gives -fa bc;
// - "" standing alone gives an empty argument;
// - a backslash is an ordinary byte.
std::vector<std::string> SplitEditorParameters(const std::vector<ParameterPiece>& pieces);
std::vector<std::string> SplitEditorParameters(std::string_view parameters);

// The argument vector that starts the editor: `editorPath` unchanged, then
// the expanded template split into arguments.
std::vector<std::string> BuildEditorArguments(const std::string& editorPath, std::string_view parameterTemplate,
                                              const EditorTarget& target);

// The editor's start in both systems' forms: the argument vector above,
// and the program with the expanded parameter text.
platform::ProgramLaunch BuildEditorLaunch(const std::string& editorPath, std::string_view parameterTemplate,
                                          const EditorTarget& target);

}  // namespace quillmark::editor
