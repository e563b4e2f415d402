// Everything a search needs to know, given once at its start.
#pragma once

#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/encoding_rules.h"
#include "engine/finding.h"

namespace quillmark::engine {

// Turns a trace line (given without its line end) into the bytes a front
// end keeps of it, line end included. Called on the threads that scan, so
// it must read nothing that changes during a walk.
class TraceRenderer {
 public:
  virtual ~TraceRenderer() = default;
  virtual void Render(std::string_view line, std::string& out) const = 0;
};

// Turns a finding into the bytes a front end shows of it; the same rule.
class FindingRenderer {
 public:
  virtual ~FindingRenderer() = default;
  virtual void Render(const Finding& finding, std::string& out) const = 0;
};

// How files are read: by one encoding's rules, or each by the rules its
// bytes call for.
struct SearchEncoding {
  const EncodingRules* rules = nullptr;  // null: detected per file
  std::string_view name;                 // "SJIS-JP", "EUC-JP", "UTF-8", "AUTO"
};

// Which bytes form a literal: the line scanner keeps every literal on its
// line and ends a file's scan at one left open; the C lexer reads splices,
// raw strings, digit separators and header names as a compiler does.
enum class Lexer { Line, C };

struct SearchOptions {
  // The folder to walk (or the file to scan, with rootIsFile), as typed and
  // trimmed; relative paths start from it. A file root's relative path is
  // its name.
  std::string root;
  bool rootIsFile = false;
  SearchEncoding encoding{&ShiftJisRules(), "SJIS-JP"};
  Lexer lexer = Lexer::Line;
  // Extensions without their dot, compared byte for byte with file names.
  std::vector<std::string> extensions;
  // Glob patterns for the folders and files the walk passes over, each tried
  // on the path relative to the root and on the name; "**" lets "*" match "/".
  std::vector<std::string> exclusions;
  // Threads that scan files, the walk's own included; 1 scans each file in
  // turn on the walk's thread.
  unsigned threads = 1;
  bool trace = true;    // false: no trace lines are made at all
  bool columns = true;  // false: findings' columns are not counted (0)
  const TraceRenderer* traceRenderer = nullptr;      // null: the line and '\n'
  const FindingRenderer* findingRenderer = nullptr;  // null: findings kept as values
  // Checked before each report is handed on: once set, the walk ends there.
  std::stop_token stop;
};

}  // namespace quillmark::engine
