// The editor parameter expansion and argument splitting against plain
// re-implementations of their rules, and the promises the launch relies on.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_command.h"
#include "tests/fuzz/fuzz_check.h"

namespace quillmark::fuzz {
namespace {

using editor::ParameterPiece;

// Each occurrence of `placeholder`, found left to right in `text`, replaced
// by what `insert` appends; inserted text is never looked at again.
template <class Insert>
void ReplaceEach(const std::string& text, std::string_view placeholder, Insert insert) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, placeholder.size(), placeholder) == 0) {
      insert(true, std::string_view());
      i += placeholder.size();
    } else {
      insert(false, std::string_view(text).substr(i, 1));
      i += 1;
    }
  }
}

std::vector<ParameterPiece> ReferencePieces(const std::string& parameterTemplate, const editor::EditorTarget& target) {
  std::string withLine;
  ReplaceEach(parameterTemplate, "%L", [&](bool placeholder, std::string_view byte) {
    withLine += placeholder ? std::string_view(target.lineText) : byte;
  });
  std::vector<ParameterPiece> pieces;
  auto plain = [&](std::string_view text) {
    if (pieces.empty() || pieces.back().isFilePath) pieces.push_back({"", false});
    pieces.back().text += text;
  };
  ReplaceEach(withLine, "%F", [&](bool placeholder, std::string_view byte) {
    if (!placeholder) return plain(byte);
    plain("\"");
    pieces.push_back({target.rootPath + "/" + target.relativePath, true});
    plain("\"");
  });
  return pieces;
}

std::vector<std::string> ReferenceSplit(const std::vector<ParameterPiece>& pieces) {
  std::vector<std::string> arguments;
  std::string current;
  bool started = false, quoted = false;
  for (const ParameterPiece& piece : pieces) {
    for (const char c : piece.text) {
      if (piece.isFilePath) {
        current += c;
      } else if (c == '"') {
        quoted = !quoted;
      } else if ((c == ' ' || c == '\t') && !quoted) {
        if (started) arguments.push_back(current);
        current.clear();
        started = false;
        continue;
      } else {
        current += c;
      }
      started = true;
    }
    if (piece.isFilePath) started = true;
  }
  if (started) arguments.push_back(current);
  return arguments;
}

std::string Joined(const std::vector<ParameterPiece>& pieces) {
  std::string text;
  for (const ParameterPiece& piece : pieces) text += piece.text;
  return text;
}

std::string WithoutBytes(std::string text, std::string_view bytes) {
  std::erase_if(text, [&](char c) { return bytes.find(c) != std::string_view::npos; });
  return text;
}

}  // namespace
}  // namespace quillmark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmark;
  using fuzz::Check;
  FuzzedDataProvider input(data, size);
  editor::EditorTarget target;
  target.lineText = input.ConsumeRandomLengthString(12);
  target.rootPath = input.ConsumeRandomLengthString(64);
  target.relativePath = input.ConsumeRandomLengthString(64);
  const std::string around = input.ConsumeRandomLengthString(64);
  const std::string parameterTemplate = input.ConsumeRemainingBytesAsString();
  const std::string fullPath = target.rootPath + "/" + target.relativePath;

  // Expansion: the reference's pieces, merged plain text, marked path.
  const std::vector<editor::ParameterPiece> pieces = editor::ExpandEditorParameterPieces(parameterTemplate, target);
  const std::vector<editor::ParameterPiece> reference = fuzz::ReferencePieces(parameterTemplate, target);
  Check(pieces.size() == reference.size(), "as many pieces as the reference");
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    Check(pieces[i].text == reference[i].text && pieces[i].isFilePath == reference[i].isFilePath,
          "each piece equals the reference's");
    Check(pieces[i].isFilePath || !pieces[i].text.empty(), "no empty plain piece");
    if (i > 0) Check(pieces[i].isFilePath || pieces[i - 1].isFilePath, "plain pieces are merged");
  }
  Check(editor::ExpandEditorParameters(parameterTemplate, target) == fuzz::Joined(reference),
        "the expanded text is the pieces joined");
  Check(editor::QuotedFilePath(target) == "\"" + fullPath + "\"", "the quoted path is root, '/', path in quotes");
  Check(editor::ExpandEditorParameters("%F", target) == editor::QuotedFilePath(target),
        "a path holding placeholders is inserted literally");

  // Splitting: the reference's arguments; the file path's bytes as they stand.
  const std::vector<std::string> arguments = editor::SplitEditorParameters(pieces);
  Check(arguments == fuzz::ReferenceSplit(reference), "the split equals the reference's");
  std::vector<std::string> withEditor{"editor"};
  withEditor.insert(withEditor.end(), arguments.begin(), arguments.end());
  Check(editor::BuildEditorArguments("editor", parameterTemplate, target) == withEditor,
        "the argument vector is the editor, then the split text");

  // A plain text split, each argument quoted and joined by spaces, splits
  // into the same arguments again.
  const std::vector<std::string> plain = editor::SplitEditorParameters(parameterTemplate);
  Check(plain == fuzz::ReferenceSplit({{parameterTemplate, false}}), "a plain split equals the reference's");
  std::string rejoined;
  for (const std::string& argument : plain) {
    Check(argument.find('"') == std::string::npos, "a plain split removes every quote");
    rejoined += "\"" + argument + "\" ";
  }
  Check(editor::SplitEditorParameters(rejoined) == plain, "quoting and joining the arguments round-trips");

  // Between any plain words, "%F" arrives as exactly one argument, the full
  // path, whatever spaces, quotes or placeholders the path holds.
  const std::string words = fuzz::WithoutBytes(around, "\"%");
  const std::size_t half = words.size() / 2;
  const std::string before = words.substr(0, half), after = words.substr(half);
  const std::vector<std::string> launched = editor::BuildEditorArguments("ed", before + " %F " + after, target);
  const std::size_t at = 1 + editor::SplitEditorParameters(before).size();
  Check(launched.size() == at + 1 + editor::SplitEditorParameters(after).size(), "the path adds one argument");
  Check(launched[at] == fullPath, "the path is one argument, unchanged");
  return 0;
}
