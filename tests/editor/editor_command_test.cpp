#include "editor/editor_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmark::editor {
namespace {

using Arguments = std::vector<std::string>;

const EditorTarget kTarget{"12", "/src", "sub/a.cpp"};

TEST(ExpandEditorParametersTest, ReplacesTheLineThenTheQuotedPath) {
  struct Case {
    const char* what;
    const char* parameterTemplate;
    EditorTarget target;
    std::string expected;
  };
  const Case cases[] = {
      {"line switch and file", "/j%L %F", kTarget, "/j12 \"/src/sub/a.cpp\""},
      {"file first", "%F+%L", kTarget, "\"/src/sub/a.cpp\"+12"},
      {"every occurrence", "%F %F %L%L", kTarget, "\"/src/sub/a.cpp\" \"/src/sub/a.cpp\" 1212"},
      {"lower case is text", "%l %f", kTarget, "%l %f"},
      {"no placeholder", "-n", kTarget, "-n"},
      {"empty template", "", kTarget, ""},
      {"other percent signs", "100% %%L %F%", kTarget, "100% %12 \"/src/sub/a.cpp\"%"},
      {"file in the root", "%F", {"3", "/src", "a.cpp"}, "\"/src/a.cpp\""},
      {"root ending in a separator", "%F", {"3", "/src/", "a.cpp"}, "\"/src//a.cpp\""},
      {"file system root", "%F", {"3", "/", "a.cpp"}, "\"//a.cpp\""},
      {"relative root stays relative", "%F", {"3", "src", "a.cpp"}, "\"src/a.cpp\""},
      {"placeholders in the path stay", "%L %F", {"7", "/r%F", "%L/%F.c"}, "7 \"/r%F/%L/%F.c\""},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandEditorParameters(c.parameterTemplate, c.target), c.expected) << c.what;
}

TEST(ReplaceAllTest, NeverScansInsertedText) {
  EXPECT_EQ(ReplaceAll("a%Lb%L", "%L", "%L%L"), "a%L%Lb%L%L");
  EXPECT_EQ(ReplaceAll("%%LL", "%L", ""), "%L");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(SplitEditorParametersTest, SplitsAtBlanksOutsideQuotes) {
  struct Case {
    const char* text;
    Arguments expected;
  };
  const Case cases[] = {
      {"", {}},
      {"   ", {}},
      {"  -a   -b  ", {"-a", "-b"}},
      {"-a\t-b", {"-a", "-b"}},
      {"\"a b\"\t\"c\td\"", {"a b", "c\td"}},
      {"-f\"a b\"c", {"-fa bc"}},
      {"a\"\"b", {"ab"}},
      {"\"\" x \"\"", {"", "x", ""}},
      {"\"open to the end", {"open to the end"}},
      {"C:\\dir\\ \"a\\\"", {"C:\\dir\\", "a\\"}},
      {"'single quotes' stay", {"'single", "quotes'", "stay"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitEditorParameters(c.text), c.expected) << c.text;
}

TEST(BuildEditorArgumentsTest, StartsWithTheEditorPathAsItStands) {
  EXPECT_EQ(BuildEditorArguments(" my editor ", "/j%L %F", kTarget),
            (Arguments{" my editor ", "/j12", "/src/sub/a.cpp"}));
  EXPECT_EQ(BuildEditorArguments("", "", kTarget), Arguments{""});
  EXPECT_EQ(BuildEditorArguments("vim", "+%L %F", {"5", "/a b", "c d.cpp"}),
            (Arguments{"vim", "+5", "/a b/c d.cpp"}));
}

TEST(BuildEditorArgumentsTest, KeepsTheFilePathWholeWhateverItHolds) {
  const EditorTarget awkward{"9", "/src", "say \"hi\"\tnow.cpp"};
  EXPECT_EQ(BuildEditorArguments("e", "%F", awkward), (Arguments{"e", "/src/say \"hi\"\tnow.cpp"}));
  // A template that quotes the placeholder itself still gets one argument.
  EXPECT_EQ(BuildEditorArguments("e", "\"%F\"", awkward), (Arguments{"e", "/src/say \"hi\"\tnow.cpp"}));
  EXPECT_EQ(BuildEditorArguments("e", "--file=\"%F\":%L", awkward),
            (Arguments{"e", "--file=/src/say \"hi\"\tnow.cpp:9"}));
  EXPECT_EQ(ExpandEditorParameters("%F", awkward), "\"/src/say \"hi\"\tnow.cpp\"");
}

}  // namespace
}  // namespace quillmark::editor
