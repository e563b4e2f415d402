// The engine over one encoding: the folder walk and the line scanner,
// written once for both encodings.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/byte_class_table.h"
#include "engine/byte_scan.h"
#include "engine/comment_closer.h"
#include "engine/source_finder.h"
#include "engine/trace_text.h"
#include "platform/folder_listing.h"
#include "platform/path.h"
#include "platform/text_file.h"

namespace quillmark::engine {

template <class Encoding>
class SourceFinderT final : public SourceFinder {
 public:
  SourceFinderT() : SourceFinderT(std::make_unique<Encoding>()) {}
  // Null makes an engine without an encoding object, which can report no
  // name and must not walk.
  explicit SourceFinderT(std::unique_ptr<Encoding> encoding);

  bool Walk(const std::string& folder) override;
  std::string GetEncodingName() const override { return encoding_ ? encoding_->GetName() : "No Encoding"; }

  // Reads and scans the next line of `file`. False at the end of the file
  // and after a literal left open on its line. `inComment` carries an open
  // block comment from one line to the next.
  bool ScanLine(platform::TextFile& file, bool& inComment);

  // Whether a literal's content holds a Japanese byte. A double quote in
  // it (only a character literal can hold one) makes the answer false.
  bool ContainsJapanese(std::string_view content) const;

  // What ScanLine reads of the file being scanned; the walk sets both.
  void SetPosition(std::int64_t lineNumber, std::string relativePath) {
    lineNumber_ = lineNumber;
    relativePath_ = std::move(relativePath);
    finding_.path = relativePath_;
  }

 private:
  bool WalkEntries(const std::string& folder, const platform::FolderListing& listing);
  bool IsOnCurrentWalk(const platform::FileIdentity& folder) const;
  bool HasListedExtension(std::string_view fileName) const;
  bool ScanFile(const std::string& fullPath);

  bool ScanRest(std::string_view rest, bool& inComment);
  // Scans the literal opened at `quote` of `rest`; cuts `rest` behind its
  // closing quote, or returns false when the line does not close it.
  bool ScanLiteral(std::string_view& rest, std::size_t quote);
  void ReportFinding(std::string_view content);
  // Hands the host one trace line made of `parts`, unless it wants none.
  template <class... Parts>
  void Trace(const Parts&... parts) {
    if (tracing_) host_->Trace(trace_.Format(parts...));
  }

  std::unique_ptr<Encoding> encoding_;
  std::int64_t lineNumber_ = 0;
  std::string relativePath_;

  std::string rootAbsolute_;                       // the root, as relative paths start from it
  std::vector<platform::FileIdentity> ancestors_;  // the folders being listed, outermost first
  platform::TextFile file_;                        // the file being scanned, its buffer reused
  std::string_view line_;                          // the line being scanned
  // The bytes at which the scan loops must look, derived once from the
  // encoding's byte tests; every other byte just advances by one. In code:
  // lead bytes, quotes, backslash and slash. In a literal: Japanese bytes,
  // quotes and backslash.
  ByteClassTable codeStops_{};
  ByteClassTable literalStops_{};
  TraceText trace_;
  bool tracing_ = true;  // the host's WantsTrace, asked when a walk starts
  std::string padded_;  // reused by every finding, as is the record below
  Finding finding_;
  std::int64_t lineTextNumber_ = -1;  // the line that finding_.line spells
};

template <class Encoding>
SourceFinderT<Encoding>::SourceFinderT(std::unique_ptr<Encoding> encoding) : encoding_(std::move(encoding)) {
  if (!encoding_) return;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    codeStops_[byte] = encoding_->IsLeadByte(byte);
    literalStops_[byte] = encoding_->IsLeadByte(byte) || encoding_->IsSingleByteJapanese(byte);
  }
  for (std::uint8_t b : {'"', '\'', '\\'}) codeStops_[b] = literalStops_[b] = true;
  codeStops_['/'] = true;
}

template <class Encoding>
bool SourceFinderT<Encoding>::Walk(const std::string& folder) {
  if (ancestors_.empty()) {
    tracing_ = host_->WantsTrace();
    rootAbsolute_ = platform::MakeAbsolutePath(host_->GetRootPath());
  }
  Trace("=== directory:", folder);

  const std::string absolute = platform::MakeAbsolutePath(folder);
  if (auto listing = platform::ListFolder(absolute)) {
    ancestors_.push_back(listing->identity);
    const bool completed = WalkEntries(absolute, *listing);
    ancestors_.pop_back();
    if (!completed) return false;
  }
  host_->FlushTrace();
  return host_->PumpMessages();
}

template <class Encoding>
bool SourceFinderT<Encoding>::WalkEntries(const std::string& folder, const platform::FolderListing& listing) {
  for (const platform::FolderEntry& entry : listing.entries) {
    if (host_->IsStopRequested()) return false;
    switch (entry.kind) {
      case platform::EntryKind::Folder:
        if (IsOnCurrentWalk(entry.identity)) break;
        if (!Walk(platform::JoinPath(folder, entry.name))) return false;
        break;
      case platform::EntryKind::File:
        if (!HasListedExtension(entry.name)) break;
        if (!ScanFile(platform::JoinPath(folder, entry.name))) return false;
        break;
      case platform::EntryKind::Other:
        break;
    }
  }
  return true;
}

template <class Encoding>
bool SourceFinderT<Encoding>::IsOnCurrentWalk(const platform::FileIdentity& folder) const {
  for (const platform::FileIdentity& ancestor : ancestors_)
    if (ancestor == folder) return true;
  return false;
}

template <class Encoding>
bool SourceFinderT<Encoding>::HasListedExtension(std::string_view fileName) const {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = fileName.substr(dot + 1);
  if (extension.empty()) return false;
  for (const std::string& listed : extensions_)
    if (listed == extension) return true;
  return false;
}

template <class Encoding>
bool SourceFinderT<Encoding>::ScanFile(const std::string& fullPath) {
  Trace("-- analyze:", fullPath);
  if (!file_.Open(fullPath)) {
    Trace("Error: failed to open the file.");
    return false;
  }
  SetPosition(1, platform::RelativePath(rootAbsolute_, fullPath));
  bool inComment = false;
  while (ScanLine(file_, inComment)) ++lineNumber_;
  file_.Close();
  return true;
}

template <class Encoding>
bool SourceFinderT<Encoding>::ScanLine(platform::TextFile& file, bool& inComment) {
  if (!file.ReadLine(line_)) return false;
  std::string_view rest = line_;
  // A NUL byte ends what is scanned of a line.
  if (file.MayHoldNul()) {
    if (const std::size_t nul = rest.find('\0'); nul != std::string_view::npos) rest = rest.substr(0, nul);
  }
  return ScanRest(rest, inComment);
}

template <class Encoding>
bool SourceFinderT<Encoding>::ScanRest(std::string_view rest, bool& inComment) {
  while (!rest.empty()) {
    if (inComment) {
      const std::size_t closer = FindCommentCloser(rest);
      if (closer == std::string_view::npos) return true;
      rest.remove_prefix(closer + 2);
      inComment = false;
      if (rest.empty()) return true;
    }

    const auto* bytes = reinterpret_cast<const std::uint8_t*>(rest.data());
    const std::size_t n = rest.size();
    std::size_t i = 0;
    bool restWasCut = false;
    while (i < n && !restWasCut) {
      i = FindStopByte(bytes, i, n, codeStops_, '"', '\'', '\\', '/');
      if (i >= n) break;
      const std::uint8_t b = bytes[i];
      if (encoding_->IsLeadByte(b)) {
        i += 2;  // the trail byte is never examined
      } else if (b == '"' || b == '\'') {
        if (!ScanLiteral(rest, i)) return false;
        restWasCut = true;
      } else if (i + 1 == n) {
        i += 1;
      } else if (b == '\\') {
        i += 2;
      } else if (b == '/' && bytes[i + 1] == '*') {
        inComment = true;
        rest.remove_prefix(i + 2);
        restWasCut = true;
      } else if (b == '/' && bytes[i + 1] == '/') {
        return true;
      } else {
        i += 1;
      }
    }
    if (!restWasCut) return true;
  }
  return true;
}

template <class Encoding>
bool SourceFinderT<Encoding>::ScanLiteral(std::string_view& rest, std::size_t quote) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(rest.data());
  const std::size_t n = rest.size();
  const std::uint8_t quoteByte = bytes[quote];
  bool sawJapanese = false;
  std::size_t k = quote + 1;
  for (;;) {
    while (k < n && !literalStops_[bytes[k]]) ++k;
    if (k >= n) {
      Trace("Error: missing string terminator : ", rest);
      return false;
    }
    const std::uint8_t c = bytes[k];
    if (encoding_->IsLeadByte(c)) {
      // Japanese text comes in runs of double-byte characters.
      sawJapanese = true;
      do k += 2;
      while (k < n && encoding_->IsLeadByte(bytes[k]));
    } else if (c == '\\' && k + 1 < n) {
      k += 2;
    } else if (c == quoteByte) {
      break;
    } else {
      sawJapanese |= encoding_->IsSingleByteJapanese(c);
      k += 1;
    }
  }
  if (k > quote + 1) {
    const std::string_view content = rest.substr(quote + 1, k - quote - 1);
    Trace("checking string:", content);
    // ContainsJapanese steps through the content exactly as the loop above
    // did, so it can only hold when that loop saw a Japanese byte; and a
    // string literal cannot hold the double quote that would refute it.
    if (sawJapanese && (quoteByte == '"' || ContainsJapanese(content))) ReportFinding(content);
  }
  rest.remove_prefix(k + 1);
  return true;
}

template <class Encoding>
bool SourceFinderT<Encoding>::ContainsJapanese(std::string_view content) const {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
  const std::size_t m = content.size();
  bool found = false;
  std::size_t i = 0;
  while (i < m) {
    const std::uint8_t c = bytes[i];
    if (encoding_->IsSingleByteJapanese(c)) {
      found = true;
      i += 1;
    } else if (encoding_->IsLeadByte(c)) {
      found = true;
      i += 2;
    } else if (c == '\\' && i + 1 < m) {
      i += 2;
    } else if (c == '"') {
      return false;
    } else {
      i += 1;
    }
  }
  return found;
}

template <class Encoding>
void SourceFinderT<Encoding>::ReportFinding(std::string_view content) {
  // The record is reused: its path is set with each file, its line text
  // only when the line changes.
  if (lineTextNumber_ != lineNumber_) {
    lineTextNumber_ = lineNumber_;
    finding_.line = std::to_string(lineNumber_);
  }
  Trace(">> ", relativePath_, " : ", finding_.line);

  padded_.assign(content);
  if (padded_.size() < kFindingTextWidth) padded_.resize(kFindingTextWidth, ' ');
  encoding_->ToShiftJis(padded_, finding_.text);
  host_->AddFinding(finding_);
}

}  // namespace quillmark::engine
