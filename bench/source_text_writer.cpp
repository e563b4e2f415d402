#include "bench/source_text_writer.h"

#include <array>

namespace quillmark::bench {
namespace {

constexpr std::array<std::string_view, 32> kWords = {
    "count",  "index",  "buffer", "value",  "result", "name",   "status", "error",  "length", "offset", "table",
    "record", "item",   "node",   "next",   "flag",   "mode",   "size",   "text",   "line",   "path",   "user",
    "config", "handle", "window", "dialog", "menu",   "report", "total",  "price",  "date",   "option"};

constexpr std::array<std::string_view, 12> kCalls = {"printf",     "MessageBox", "SetText",   "AddItem",
                                                     "LogWrite",   "ShowError",  "strcpy",    "Insert",
                                                     "AppendLine", "SetTitle",   "WriteField", "Notify"};

constexpr std::array<std::string_view, 8> kTypes = {"int",   "void",          "long",           "char*",
                                                    "BOOL",  "unsigned int",  "const char*",    "size_t"};

constexpr std::array<std::string_view, 6> kEscapes = {"\\n", "\\t", "\\\\", "\\\"", "\\r", "\\0"};

constexpr std::array<std::string_view, 5> kFormats = {"%d", "%s", "%5.2f", "%ld", "%c"};

template <std::size_t N>
std::string_view Pick(Random& random, const std::array<std::string_view, N>& choices) {
  return choices[random.Below(static_cast<std::uint32_t>(N))];
}

}  // namespace

void SourceTextWriter::WriteFile(std::string& out, std::size_t targetBytes, bool crlf) {
  out.clear();
  out_ = &out;
  lineEnd_ = crlf ? "\r\n" : "\n";
  depth_ = 0;
  functionLines_ = 0;
  WriteFileHeader();
  while (out.size() < targetBytes) {
    if (functionLines_ == 0)
      OpenFunction();
    else if (--functionLines_ == 0)
      CloseFunction();
    else
      WriteLine();
  }
  if (depth_ > 0) CloseFunction();
  out_ = nullptr;
}

void SourceTextWriter::WriteFileHeader() {
  WriteBlockComment();
  const std::uint32_t includes = random_.Between(1, 4);
  for (std::uint32_t i = 0; i < includes; ++i) {
    Text("#include ");
    const bool local = random_.Percent(60);
    Text(local ? "\"" : "<");
    Word();
    Text(local ? ".h\"" : ".h>");
    if (local) CountLiteral(false, false);
    EndLine();
  }
  if (random_.Percent(50)) {
    Text("#define MSG_");
    Number();
    Text(" ");
    StringLiteral(true);
    EndLine();
  }
  EndLine();
}

void SourceTextWriter::OpenFunction() {
  if (random_.Percent(50)) {
    Text("// ");
    CommentText();
    EndLine();
  }
  Text(Pick(random_, kTypes));
  Text(" ");
  Identifier();
  Text("(");
  Text(Pick(random_, kTypes));
  Text(" ");
  Word();
  Text(")");
  EndLine();
  Text("{");
  EndLine();
  depth_ = 1;
  functionLines_ = random_.Between(8, 60);
}

void SourceTextWriter::CloseFunction() {
  depth_ = 0;
  functionLines_ = 0;
  Text("}");
  EndLine();
  EndLine();
}

void SourceTextWriter::WritePlainLine() {
  Indent();
  if (random_.Percent(40)) {
    Text("// ");
    CommentText();
  } else {
    Identifier();
    Text(" = ");
    Text(Pick(random_, kCalls));
    Text("(");
    Word();
    Text(", ");
    Number();
    Text(");");
  }
  EndLine();
}

void SourceTextWriter::WriteLine() {
  if (random_.Percent(static_cast<std::uint32_t>(plainLinePercent_))) {
    WritePlainLine();
    return;
  }
  const std::uint32_t kind = random_.Below(100);
  if (kind >= 92) {  // blank
    EndLine();
    return;
  }
  Indent();
  if (kind < 14) {  // code without literals
    Identifier();
    Text(random_.Percent(50) ? " += " : " = ");
    Text(Pick(random_, kCalls));
    Text("(");
    Word();
    Text(", ");
    Number();
    Text(");");
  } else if (kind < 26) {  // a Japanese message
    Text("const char* ");
    Identifier();
    Text(" = ");
    StringLiteral(true);
    Text(";");
  } else if (kind < 33) {  // a Japanese format with escapes
    Text("printf(\"");
    JapaneseContent();
    Text(Pick(random_, kFormats));
    Text("\\n\", ");
    Word();
    Text(");");
    CountLiteral(false, true);
  } else if (kind < 41) {  // ASCII only
    Text(Pick(random_, kCalls));
    Text("(");
    StringLiteral(false);
    Text(");");
  } else if (kind < 46) {  // character literals
    Text("if (c == ");
    CharLiteral();
    Text(") return ");
    CharLiteral();
    Text(";");
  } else if (kind < 55) {  // a line comment, perhaps commented-out code
    Text("// ");
    if (random_.Percent(30)) {
      Text(Pick(random_, kCalls));
      Text("(\"");
      JapaneseRun(2, 10);
      Text("\");");
    } else {
      CommentText();
    }
  } else if (kind < 61) {  // a literal, then a line comment with quotes
    Identifier();
    Text(" = ");
    Text(Pick(random_, kCalls));
    Text("(");
    StringLiteral(random_.Percent(60));
    Text("); // ");
    CommentText();
  } else if (kind < 65) {  // a one-line block comment, then a literal
    Text("/* ");
    CommentText();
    Text(" */ ");
    Text(Pick(random_, kCalls));
    Text("(");
    StringLiteral(true);
    Text(");");
  } else if (kind < 69) {  // a block comment over several lines
    Text(Pick(random_, kCalls));
    Text("(");
    StringLiteral(random_.Percent(70));
    Text("); /* ");
    CommentText();
    EndLine();
    const std::uint32_t inner = random_.Between(1, 5);
    for (std::uint32_t i = 0; i < inner; ++i) {
      Indent();
      Text("   ");
      CommentText();
      EndLine();
    }
    Indent();
    Text("   ");
    CommentText();
    Text(" */ ");
    Identifier();
    Text(" = ");
    StringLiteral(random_.Percent(70));
    Text(";");
  } else if (kind < 74) {  // two literals
    Text(Pick(random_, kCalls));
    Text("(");
    StringLiteral(true);
    Text(", ");
    StringLiteral(random_.Percent(40));
    Text(");");
  } else if (kind < 76) {  // comment openers inside a literal
    Identifier();
    Text(" = \"http://");
    JapaneseRun(1, 4);
    Text(".example.jp/*.cpp // ");
    Word();
    Text("\";");
    CountLiteral(false, true);
  } else if (kind < 79) {  // escaped quotes around Japanese
    Text("fputs(\"\\\"");
    JapaneseRun(1, 8);
    Text("\\\"\\t\\\\\", stderr);");
    CountLiteral(false, true);
  } else if (kind < 83) {  // a table row
    Text("{ ");
    Number();
    Text(", ");
    StringLiteral(random_.Percent(80));
    Text(", ");
    CharLiteral();
    Text(" },");
  } else if (kind < 85) {  // a block comment between statements
    WriteBlockComment();
    return;
  } else {  // braces
    Text(random_.Percent(50) ? "if (" : "while (");
    Word();
    Text(" > ");
    Number();
    Text(") {");
    EndLine();
    Indent();
    Text("    break;");
    EndLine();
    Indent();
    Text("}");
  }
  EndLine();
}

void SourceTextWriter::WriteBlockComment() {
  Text("/*");
  EndLine();
  const std::uint32_t lines = random_.Between(1, 6);
  for (std::uint32_t i = 0; i < lines; ++i) {
    Indent();
    Text(" * ");
    CommentText();
    EndLine();
  }
  Indent();
  Text(" */");
  EndLine();
}

void SourceTextWriter::Indent() { out_->append(static_cast<std::size_t>(depth_) * 4, ' '); }

void SourceTextWriter::EndLine() {
  out_->append(lineEnd_);
  ++counts_.lines;
}

void SourceTextWriter::Word() { Text(Pick(random_, kWords)); }

void SourceTextWriter::Identifier() {
  Word();
  if (random_.Percent(40)) {
    Text("_");
    Word();
  }
}

void SourceTextWriter::Number() {
  char digits[12];
  std::uint32_t value = random_.Below(100000);
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) out_->push_back(digits[--n]);
}

void SourceTextWriter::JapaneseRun(std::uint32_t minCharacters, std::uint32_t maxCharacters) {
  const std::uint32_t characters = random_.Between(minCharacters, maxCharacters);
  if (encoding_ == SourceEncoding::Ascii) {
    // About as many bytes as the Japanese would take.
    for (std::uint32_t i = 0; i < (characters + 2) / 3; ++i) {
      if (i > 0) Text(" ");
      Word();
    }
    return;
  }
  for (std::uint32_t i = 0; i < characters; ++i) {
    if (random_.Percent(6)) {
      AppendHalfWidthKatakana(*out_, encoding_, static_cast<std::uint8_t>(random_.Between(0xA1, 0xDF)));
    } else {
      AppendJisCharacter(*out_, encoding_, RandomJisCharacter(random_));
    }
  }
}

// Japanese, quotes, apostrophes and "//", but never an asterisk, so that a
// block comment ends only where the writer closes it. What follows it is
// always a space or a line end, never a closer right behind a character.
void SourceTextWriter::CommentText() {
  const std::uint32_t parts = random_.Between(1, 4);
  for (std::uint32_t i = 0; i < parts; ++i) {
    if (i > 0) Text(" ");
    switch (random_.Below(6)) {
      case 0:
        Text("\"");
        JapaneseRun(1, 6);
        Text("\"");
        break;
      case 1:
        Word();
        Text("'s");
        break;
      case 2:
        Text("// ");
        Word();
        break;
      case 3:
        Word();
        break;
      default:
        JapaneseRun(2, 16);
        break;
    }
  }
}

void SourceTextWriter::StringLiteral(bool japanese) {
  Text("\"");
  const std::size_t start = out_->size();
  if (japanese)
    JapaneseContent();
  else
    AsciiContent(true);
  const bool empty = out_->size() == start;
  Text("\"");
  CountLiteral(empty, japanese);
}

void SourceTextWriter::JapaneseContent() {
  if (random_.Percent(20)) {
    Word();
    Text(": ");
  }
  JapaneseRun(1, 14);
  if (random_.Percent(25)) Text(Pick(random_, kEscapes));
  if (random_.Percent(15)) {
    Text(" ");
    Text(Pick(random_, kFormats));
    JapaneseRun(1, 4);
  }
}

void SourceTextWriter::AsciiContent(bool mayBeEmpty) {
  if (mayBeEmpty && random_.Percent(5)) return;
  const std::uint32_t words = random_.Between(1, 5);
  for (std::uint32_t i = 0; i < words; ++i) {
    if (i > 0) Text(" ");
    Word();
  }
  if (random_.Percent(30)) Text(Pick(random_, kEscapes));
}

void SourceTextWriter::CharLiteral() {
  Text("'");
  bool japanese = false;
  std::uint32_t kind = random_.Below(8);
  if (kind < 3 && encoding_ == SourceEncoding::Ascii) kind = 7;
  switch (kind) {
    case 0:
    case 1:
      AppendJisCharacter(*out_, encoding_, RandomJisCharacter(random_));
      japanese = true;
      break;
    case 2:
      AppendHalfWidthKatakana(*out_, encoding_, static_cast<std::uint8_t>(random_.Between(0xA1, 0xDF)));
      japanese = true;
      break;
    case 3:
      Text("\\'");
      break;
    case 4:
      Text("\"");
      break;
    case 5:
      Text(Pick(random_, kEscapes));
      break;
    default:
      out_->push_back(static_cast<char>('a' + random_.Below(26)));
      break;
  }
  Text("'");
  CountLiteral(false, japanese);
}

void SourceTextWriter::CountLiteral(bool empty, bool japanese) {
  if (empty) return;
  ++counts_.literals;
  if (japanese && encoding_ != SourceEncoding::Ascii) ++counts_.japaneseLiterals;
}

}  // namespace quillmark::bench
