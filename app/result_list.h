// The result list: a report view whose rows are the findings of the
// current search in the order found. The rows live in the control itself,
// as the engine gave them, and are converted for display only when drawn,
// so that adding one costs next to nothing however many there are: a row
// is a fixed record in large blocks, its text and path bytes in an arena,
// a path shared with the row before it kept once.
#pragma once

#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/memory_blocks.h"
#include "engine/finding.h"

namespace quillmark::app {

class ResultList final : public wxListCtrl {
 public:
  // `style` is the report-view style of the template; the list is virtual.
  ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style);

  // A new font makes the rows fit it again.
  bool SetFont(const wxFont& font) override;

  // Keeps a row at the end. It shows from the next ShowNewRows on, so that
  // a burst of rows invalidates the control once rather than per row.
  void AppendRow(const engine::Finding& finding);
  void ShowNewRows();
  void DeleteRow(long row);
  void DeleteAllRows();

  // The relative path of `row` byte for byte, as the file system gives it
  // (the editor launch needs it when it is no valid UTF-8); empty when
  // there is no such row.
  std::string PathBytes(long row) const;

  // How many rows are kept (deleted ones gone), shown or not yet; the row
  // `row` as the engine gave it, or nothing when there is none.
  std::size_t RowCount() const { return rowCount_; }
  std::optional<engine::Finding> RowAt(long row) const;

 private:
  wxString OnGetItemText(long item, long column) const override;
  // No row shows an image: the image list only sets the rows' height.
  int OnGetItemImage(long) const override { return -1; }
  int OnGetItemColumnImage(long, long) const override { return -1; }
  // The list measures its rows by a capital's height alone, and that with
  // the font it had first; underscores and descenders fell outside.
  void FitRowsToFont();

  struct StoredRow {
    std::string_view content;
    std::string_view path;
    std::int64_t line;
    std::int64_t column;
    engine::SourceEncoding encoding;
    char quote;
  };
  static constexpr std::size_t kRowsPerBlock = kBlockBytes / sizeof(StoredRow);

  StoredRow& Stored(std::size_t row) const {
    return reinterpret_cast<StoredRow*>(rowBlocks_[row / kRowsPerBlock]->Data())[row % kRowsPerBlock];
  }

  wxImageList rowHeight_;

  std::vector<std::unique_ptr<MemoryBlock>> rowBlocks_;
  std::size_t rowCount_ = 0;
  ByteArena bytes_;  // the rows' contents and paths
};

}  // namespace quillmark::app
