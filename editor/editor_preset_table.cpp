#include "editor/editor_preset_table.h"

namespace quillmark::editor {
namespace {

// Display names keep their full-width and half-width forms exactly.
constexpr std::string_view kPresetTable =
    "hide:秀丸エディタ:/j%L %F\n"
    "wz:WZ Editor:/J%L %F\n"
    "sakura:サクラエディタ:-Y=%L %F\n"
    "xyzzy:xyzzy:-g%L %F\n"
    "qx:QXエディタ:-J%L %F\n"
    "mifes:MIFES:%F+%L\n"
    "em:EmEditor:/l %L %F\n"
    "emacs:Emacs系統(Meadow等):+%L %F\n"
    "vivi:ViVi:-line=%L %F\n"
    "vim:Vim:+%L %F\n"
    "peggy:Peggy:-L%L %F\n"
    "terapad:TeraPad:/jl=%L %F\n"
    "mm:MMエディタ:-j%L %F\n"
    "dana:Dana:/J%L %F\n"
    "notepad:notepad（指定行ｼﾞｬﾝﾌﾟなし）:%F\n"
    "nojump:行番号ｼﾞｬﾝﾌﾟなし:%F\n"
    "custom:カスタム:\n";

bool IsRow(const std::vector<EditorPreset>& presets, int selection) {
  return selection >= 0 && static_cast<std::size_t>(selection) < presets.size();
}

}  // namespace

std::string_view EditorPresetTable() { return kPresetTable; }

std::vector<EditorPreset> ParseEditorPresets(std::string_view table) {
  std::vector<EditorPreset> presets;
  std::size_t lineStart = 0;
  while (lineStart < table.size()) {
    std::size_t lineEnd = table.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = table.size();
    const std::string_view line = table.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;

    const std::size_t keyEnd = line.find(':');
    if (keyEnd == std::string_view::npos) continue;
    const std::size_t nameEnd = line.find(':', keyEnd + 1);
    if (nameEnd == std::string_view::npos) continue;
    EditorPreset preset{std::string(line.substr(0, keyEnd)), std::string(line.substr(keyEnd + 1, nameEnd - keyEnd - 1)),
                        std::string(line.substr(nameEnd + 1))};
    if (preset.key.empty() || preset.displayName.empty()) continue;
    presets.push_back(std::move(preset));
  }
  return presets;
}

std::optional<std::size_t> InitialPresetIndex(const std::vector<EditorPreset>& presets, std::string_view editorType) {
  if (presets.empty()) return std::nullopt;
  std::size_t index = presets.size() - 1;
  for (std::size_t row = 0; row < presets.size(); ++row) {
    if (presets[row].key == editorType) index = row;
  }
  return index;
}

bool IsCustomPreset(const std::vector<EditorPreset>& presets, std::size_t index) {
  return !presets.empty() && index == presets.size() - 1;
}

std::optional<ParameterFieldUpdate> ParameterFieldForPick(const std::vector<EditorPreset>& presets, int selection) {
  if (!IsRow(presets, selection)) return std::nullopt;
  const auto index = static_cast<std::size_t>(selection);
  if (IsCustomPreset(presets, index)) return ParameterFieldUpdate{false, std::nullopt};
  return ParameterFieldUpdate{true, presets[index].parameterTemplate};
}

std::string EditorTypeForSelection(const std::vector<EditorPreset>& presets, int selection) {
  return IsRow(presets, selection) ? presets[static_cast<std::size_t>(selection)].key : std::string();
}

}  // namespace quillmark::editor
