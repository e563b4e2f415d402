#include "report/po_writer.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/code_page.h"
#include "report/c_escapes.h"
#include "report/finding_text.h"

namespace quillmark::report {
namespace {

// A path or the root as a comment can carry it: UTF-8 (a name that is not
// is read as CP932, the other encoding Japanese names come in), with no
// control character to end the comment line.
std::string CommentText(std::string_view bytes) {
  std::string out;
  for (const char c : platform::ToDisplayText(bytes)) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) out += "\xEF\xBF\xBD";
    else out += c;
  }
  return out;
}

// A file name with a space goes between U+2068 and U+2069, as gettext
// writes it, so that the space does not split the reference.
std::string Reference(std::string_view root, const engine::Finding& finding) {
  std::string path = CommentText(PathFromRoot(root, finding.path));
  if (path.find(' ') != std::string::npos) path = "\xE2\x81\xA8" + path + "\xE2\x81\xA9";
  return path + ":" + std::to_string(finding.line);
}

// One line of a PO string, its quotes included.
void AppendQuoted(std::string_view utf8, std::string& out) {
  out += '"';
  for (const char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\a': out += "\\a"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\v': out += "\\v"; break;
      default: {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0) {
          // gettext would end the string at an escaped NUL.
          out += "\xEF\xBF\xBD";
        } else if (b < 0x20 || b == 0x7F) {
          out += '\\';
          out += static_cast<char>('0' + (b >> 6));
          out += static_cast<char>('0' + ((b >> 3) & 7));
          out += static_cast<char>('0' + (b & 7));
        } else {
          out += c;
        }
      }
    }
  }
  out += '"';
}

// `keyword "text"`; a text with a newline before its end is split after
// each newline, below an empty first line, as xgettext writes it.
void AppendPoString(std::string_view keyword, std::string_view utf8, std::string& out) {
  out += keyword;
  out += ' ';
  const std::size_t newline = utf8.find('\n');
  if (newline == std::string_view::npos || newline + 1 == utf8.size()) {
    AppendQuoted(utf8, out);
    out += '\n';
    return;
  }
  out += "\"\"\n";
  while (!utf8.empty()) {
    const std::size_t end = utf8.find('\n');
    const std::size_t length = end == std::string_view::npos ? utf8.size() : end + 1;
    AppendQuoted(utf8.substr(0, length), out);
    out += '\n';
    utf8.remove_prefix(length);
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Entry {
  std::string msgid;
  std::vector<std::string> references;
  std::string_view keptBecause;  // set when the escapes are kept as written
};

class PoWriter : public FormatWriter {
 public:
  explicit PoWriter(const ReportContext& context) : context_(context) {}

  void AddFinding(const engine::Finding& finding, std::string& /*out*/) override {
    if (finding.quote == '\'') {
      ++characterLiterals_;
      return;
    }
    // A raw string's backslashes are its own: it stands for its bytes.
    LiteralText text = finding.raw ? LiteralText{ToValidUtf8(ContentText(finding)), {}}
                                   : ReadCEscapes(finding.content, finding.encoding);
    std::string msgid = text.utf8 ? std::move(*text.utf8) : ToValidUtf8(ContentText(finding));
    const auto [it, added] = index_.try_emplace(msgid, entries_.size());
    if (added) entries_.push_back(Entry{std::move(msgid), {}, {}});
    Entry& entry = entries_[it->second];
    entry.references.push_back(Reference(context_.root, finding));
    if (!text.utf8 && entry.keptBecause.empty()) entry.keptBecause = text.unreadable;
  }

  void End(const ScanSummary& /*summary*/, std::string& out) override {
    AppendHeader(out);
    for (const Entry& entry : entries_) {
      out += '\n';
      if (!entry.keptBecause.empty()) {
        out += "#. The C escapes are kept as written: the text holds ";
        out += entry.keptBecause;
        out += ".\n";
      }
      for (const std::string& reference : entry.references) {
        out += "#: ";
        out += reference;
        out += '\n';
      }
      if (HasPrintfConversion(entry.msgid)) out += "#, c-format\n";
      AppendPoString("msgid", entry.msgid, out);
      out += "msgstr \"\"\n";
    }
  }

 private:
  // The template's header, its fields left for the translator to fill as
  // xgettext leaves them (and so marked fuzzy).
  void AppendHeader(std::string& out) const {
    out += "# Japanese string literals found under ";
    out += CommentText(context_.root);
    out += " by Quillmark ";
    out += context_.version;
    out += ".\n# Character literals left out: ";
    out += std::to_string(characterLiterals_);
    out +=
        ".\n"
        "#, fuzzy\n"
        "msgid \"\"\n"
        "msgstr \"\"\n"
        "\"Project-Id-Version: PACKAGE VERSION\\n\"\n"
        "\"Report-Msgid-Bugs-To: \\n\"\n"
        "\"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n\"\n"
        "\"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n\"\n"
        "\"Language-Team: LANGUAGE <LL@li.org>\\n\"\n"
        "\"Language: \\n\"\n"
        "\"MIME-Version: 1.0\\n\"\n"
        "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\"Content-Transfer-Encoding: 8bit\\n\"\n";
    AppendQuoted("X-Generator: Quillmark " + context_.version + "\n", out);
    out += '\n';
  }

  ReportContext context_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> index_;
  std::uint64_t characterLiterals_ = 0;
};

}  // namespace

std::unique_ptr<FormatWriter> MakePoWriter(const ReportContext& context) { return std::make_unique<PoWriter>(context); }

bool HasPrintfConversion(std::string_view text) {
  const std::size_t n = text.size();
  // Past the end reads as NUL, which no set below holds.
  const auto at = [&](std::size_t k) { return k < n ? text[k] : '\0'; };
  const auto skipDigits = [&](std::size_t k) {
    while (IsDigit(at(k))) ++k;
    return k;
  };
  // "*" or "*m$" for a width or precision taken from an argument.
  const auto skipStar = [&](std::size_t k) {
    const std::size_t digitsEnd = skipDigits(k + 1);
    return digitsEnd > k + 1 && at(digitsEnd) == '$' ? digitsEnd + 1 : k + 1;
  };
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] != '%') continue;
    std::size_t k = i + 1;
    if (at(k) == '%') {
      i = k;
      continue;
    }
    if (const std::size_t digitsEnd = skipDigits(k); digitsEnd > k && at(digitsEnd) == '$') k = digitsEnd + 1;
    while (std::string_view("-+ #0'I").find(at(k)) != std::string_view::npos) ++k;
    k = at(k) == '*' ? skipStar(k) : skipDigits(k);
    if (at(k) == '.') {
      ++k;
      k = at(k) == '*' ? skipStar(k) : skipDigits(k);
    }
    if ((at(k) == 'h' && at(k + 1) == 'h') || (at(k) == 'l' && at(k + 1) == 'l')) k += 2;
    else if (std::string_view("hlLqjzZt").find(at(k)) != std::string_view::npos) ++k;
    if (std::string_view("diouxXeEfFgGaAcspn").find(at(k)) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace quillmark::report
