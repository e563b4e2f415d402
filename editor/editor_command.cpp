#include "editor/editor_command.h"

#include "platform/path.h"

namespace quillmark::editor {
namespace {

constexpr std::string_view kLinePlaceholder = "%L";
constexpr std::string_view kFilePlaceholder = "%F";

class ArgumentSplitter {
 public:
  void AddText(std::string_view text) {
    for (const char byte : text) {
      if (byte == '"') {
        quoted_ = !quoted_;
        started_ = true;
      } else if ((byte == ' ' || byte == '\t') && !quoted_) {
        EndArgument();
      } else {
        current_ += byte;
        started_ = true;
      }
    }
  }

  void AddVerbatim(std::string_view text) {
    current_ += text;
    started_ = true;
  }

  std::vector<std::string> Finish() {
    EndArgument();
    return std::move(arguments_);
  }

 private:
  void EndArgument() {
    if (started_) arguments_.push_back(std::move(current_));
    current_.clear();
    started_ = false;
  }

  std::vector<std::string> arguments_;
  std::string current_;
  bool started_ = false;
  bool quoted_ = false;
};

std::string FullFilePath(const EditorTarget& target) { return target.rootPath + platform::kPathSeparator + target.relativePath; }

}  // namespace

std::string QuotedFilePath(const EditorTarget& target) {
  // Appended piece by piece: `"\"" + std::string` trips a false -Wrestrict
  // in GCC 12 at -O3.
  std::string quoted = "\"";
  quoted.append(FullFilePath(target)).append(1, '"');
  return quoted;
}

std::string ReplaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement) {
  if (placeholder.empty()) return std::string(text);
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = text.find(placeholder); at != std::string_view::npos; at = text.find(placeholder, from)) {
    result.append(text.substr(from, at - from));
    result.append(replacement);
    from = at + placeholder.size();
  }
  result.append(text.substr(from));
  return result;
}

std::vector<ParameterPiece> ExpandEditorParameterPieces(std::string_view parameterTemplate,
                                                        const EditorTarget& target) {
  // The line first, as plain text: the file placeholder is then looked for
  // in the whole result, but never inside a path already inserted.
  const std::string withLine = ReplaceAll(parameterTemplate, kLinePlaceholder, target.lineText);
  const std::string_view text = withLine;
  const std::string filePath = FullFilePath(target);

  std::vector<ParameterPiece> pieces;
  auto addPlain = [&pieces](std::string_view plain) {
    if (plain.empty()) return;
    if (!pieces.empty() && !pieces.back().isFilePath)
      pieces.back().text += plain;
    else
      pieces.push_back({std::string(plain), false});
  };
  std::size_t from = 0;
  for (std::size_t at = text.find(kFilePlaceholder); at != std::string_view::npos;
       at = text.find(kFilePlaceholder, from)) {
    addPlain(text.substr(from, at - from));
    addPlain("\"");
    pieces.push_back({filePath, true});
    addPlain("\"");
    from = at + kFilePlaceholder.size();
  }
  addPlain(text.substr(from));
  return pieces;
}

std::string ExpandEditorParameters(std::string_view parameterTemplate, const EditorTarget& target) {
  std::string text;
  for (const ParameterPiece& piece : ExpandEditorParameterPieces(parameterTemplate, target)) text += piece.text;
  return text;
}

std::vector<std::string> SplitEditorParameters(const std::vector<ParameterPiece>& pieces) {
  ArgumentSplitter splitter;
  for (const ParameterPiece& piece : pieces) {
    if (piece.isFilePath)
      splitter.AddVerbatim(piece.text);
    else
      splitter.AddText(piece.text);
  }
  return splitter.Finish();
}

std::vector<std::string> SplitEditorParameters(std::string_view parameters) {
  ArgumentSplitter splitter;
  splitter.AddText(parameters);
  return splitter.Finish();
}

std::vector<std::string> BuildEditorArguments(const std::string& editorPath, std::string_view parameterTemplate,
                                              const EditorTarget& target) {
  std::vector<std::string> arguments{editorPath};
  for (std::string& argument : SplitEditorParameters(ExpandEditorParameterPieces(parameterTemplate, target)))
    arguments.push_back(std::move(argument));
  return arguments;
}

platform::ProgramLaunch BuildEditorLaunch(const std::string& editorPath, std::string_view parameterTemplate,
                                          const EditorTarget& target) {
  return {BuildEditorArguments(editorPath, parameterTemplate, target), ExpandEditorParameters(parameterTemplate, target)};
}

}  // namespace quillmark::editor
