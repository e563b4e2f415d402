#include "editor/editor_preset_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmark::editor {
namespace {

struct Row {
  std::string key;
  std::string displayName;
  std::string parameterTemplate;
  bool operator==(const Row&) const = default;
};

std::vector<Row> RowsOf(const std::vector<EditorPreset>& presets) {
  std::vector<Row> rows;
  for (const EditorPreset& p : presets) rows.push_back({p.key, p.displayName, p.parameterTemplate});
  return rows;
}

TEST(EditorPresetTableTest, HoldsTheSeventeenKnownEditorsInOrder) {
  const std::vector<Row> expected = {
      {"hide", "秀丸エディタ", "/j%L %F"},
      {"wz", "WZ Editor", "/J%L %F"},
      {"sakura", "サクラエディタ", "-Y=%L %F"},
      {"xyzzy", "xyzzy", "-g%L %F"},
      {"qx", "QXエディタ", "-J%L %F"},
      {"mifes", "MIFES", "%F+%L"},
      {"em", "EmEditor", "/l %L %F"},
      {"emacs", "Emacs系統(Meadow等)", "+%L %F"},
      {"vivi", "ViVi", "-line=%L %F"},
      {"vim", "Vim", "+%L %F"},
      {"peggy", "Peggy", "-L%L %F"},
      {"terapad", "TeraPad", "/jl=%L %F"},
      {"mm", "MMエディタ", "-j%L %F"},
      {"dana", "Dana", "/J%L %F"},
      // Full-width parentheses around half-width katakana.
      {"notepad", "notepad\xEF\xBC\x88指定行\xEF\xBD\xBC\xEF\xBE\x9E\xEF\xBD\xAC\xEF\xBE\x9D\xEF\xBE\x8C\xEF\xBE\x9Fなし\xEF\xBC\x89", "%F"},
      {"nojump", "行番号\xEF\xBD\xBC\xEF\xBE\x9E\xEF\xBD\xAC\xEF\xBE\x9D\xEF\xBE\x8C\xEF\xBE\x9Fなし", "%F"},
      {"custom", "カスタム", ""},
  };
  EXPECT_EQ(RowsOf(ParseEditorPresets(EditorPresetTable())), expected);
  EXPECT_EQ(EditorPresetTable().back(), '\n');
}

TEST(ParseEditorPresetsTest, CutsLinesAndColumnsAndDropsIncompleteRows) {
  const std::string table =
      "\n\na:A:x\n\n\n"
      "no colon\n"
      "one:colon\n"
      ":no key:t\n"
      "no name::t\n"
      "b:B:\n"
      "c:C:-x:%L:%F\r\n"
      "d:D:last without line end";
  const std::vector<Row> expected = {
      {"a", "A", "x"},
      {"b", "B", ""},
      {"c", "C", "-x:%L:%F\r"},
      {"d", "D", "last without line end"},
  };
  EXPECT_EQ(RowsOf(ParseEditorPresets(table)), expected);
  EXPECT_TRUE(ParseEditorPresets("").empty());
  EXPECT_TRUE(ParseEditorPresets("\n\n").empty());
}

TEST(PresetSelectionTest, OpensOnTheStoredKeyOrTheFreeTemplate) {
  const auto presets = ParseEditorPresets(EditorPresetTable());
  EXPECT_EQ(InitialPresetIndex(presets, "sakura"), 2u);
  EXPECT_EQ(InitialPresetIndex(presets, "custom"), 16u);
  EXPECT_EQ(InitialPresetIndex(presets, "Sakura"), 16u);
  EXPECT_EQ(InitialPresetIndex(presets, ""), 16u);
  EXPECT_EQ(InitialPresetIndex(presets, "hide:秀丸エディタ"), 16u);
  EXPECT_EQ(InitialPresetIndex({}, "custom"), std::nullopt);
  // A later row with the same key wins.
  EXPECT_EQ(InitialPresetIndex(ParseEditorPresets("k:1:\nk:2:\nz:Z:\n"), "k"), 1u);

  EXPECT_FALSE(IsCustomPreset(presets, 15));
  EXPECT_TRUE(IsCustomPreset(presets, 16));
  EXPECT_FALSE(IsCustomPreset({}, 0));
}

TEST(PresetSelectionTest, PickingARowSetsTheParameterField) {
  const auto presets = ParseEditorPresets(EditorPresetTable());
  const auto mifes = ParameterFieldForPick(presets, 5);
  ASSERT_TRUE(mifes);
  EXPECT_TRUE(mifes->readOnly);
  EXPECT_EQ(mifes->text, "%F+%L");

  const auto custom = ParameterFieldForPick(presets, 16);
  ASSERT_TRUE(custom);
  EXPECT_FALSE(custom->readOnly);
  EXPECT_EQ(custom->text, std::nullopt);

  EXPECT_EQ(ParameterFieldForPick(presets, -1), std::nullopt);
  EXPECT_EQ(ParameterFieldForPick(presets, 17), std::nullopt);
}

TEST(PresetSelectionTest, StoresTheKeyOfTheSelectedRow) {
  const auto presets = ParseEditorPresets(EditorPresetTable());
  EXPECT_EQ(EditorTypeForSelection(presets, 9), "vim");
  EXPECT_EQ(EditorTypeForSelection(presets, 16), "custom");
  EXPECT_EQ(EditorTypeForSelection(presets, -1), "");
  EXPECT_EQ(EditorTypeForSelection(presets, 17), "");
}

}  // namespace
}  // namespace quillmark::editor
