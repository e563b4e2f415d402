// The known editors' parameter templates, and the rules by which the
// settings dialog shows and picks them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::editor {

struct EditorPreset {
  std::string key;          // stored as EditorType when the preset is chosen
  std::string displayName;  // shown in the editor-type combo box
  std::string parameterTemplate;  // put into EditorParam; may be empty
};

// Seventeen rows "key:display name:template", each ended by "\n", in the
// order the combo box shows them. The last row is the free template.
std::string_view EditorPresetTable();

// The rows of a preset table, rebuilt each time the dialog opens:
// - lines are cut at "\n"; runs of line ends give no empty line;
// - the key is the text before the first ":", the display name the text up
//   to the next ":", the template all the rest, further colons included;
// - a line without two colons, or with an empty key or display name, is
//   dropped.
// In UTF-8 no byte of a multibyte character is ":" or "\n", so cutting at
// bytes never splits a character.
std::vector<EditorPreset> ParseEditorPresets(std::string_view table);

// The row the editor-type combo box opens on: the last row whose key is
// `editorType` byte for byte, else the last row (the free template). None
// only for an empty list.
std::optional<std::size_t> InitialPresetIndex(const std::vector<EditorPreset>& presets, std::string_view editorType);

// Whether `index` is the last row, the free template, whose parameter field
// the user edits.
bool IsCustomPreset(const std::vector<EditorPreset>& presets, std::size_t index);

// What the parameter field becomes when the user picks the row at
// `selection` (a combo-box selection, negative for none).
struct ParameterFieldUpdate {
  bool readOnly = false;
  std::optional<std::string> text;  // the preset's template; none keeps the field's text
};
// None when `selection` names no row. The free template makes the field
// editable and keeps its text; any other row makes it read-only and shows
// that row's template.
std::optional<ParameterFieldUpdate> ParameterFieldForPick(const std::vector<EditorPreset>& presets, int selection);

// The EditorType stored on OK: the key of the row at `selection`, empty when
// `selection` names no row.
std::string EditorTypeForSelection(const std::vector<EditorPreset>& presets, int selection);

}  // namespace quillmark::editor
