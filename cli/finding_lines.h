// The lines the console prints for findings in the grep and raw forms.
// They depend on nothing but the finding and these settings, so the
// threads that scan can make them ahead of each finding's turn.
#pragma once

#include <string>

#include "engine/search_options.h"

namespace quillmark::cli {

class FindingLines final : public engine::FindingRenderer {
 public:
  enum class Form { Grep, Raw };

  Form form = Form::Grep;
  bool column = false;  // PATH:LINE:COLUMN: TEXT in the grep form
  bool color = false;   // path magenta, line and column green
  std::string rootPath;     // as typed: the grep form's paths start with it
  bool rootIsFile = false;  // then the path shown is the root itself

  void Render(const engine::Finding& finding, std::string& out) const override;
  // A finding's or diagnostic's path as the console shows it.
  std::string ShownPath(const std::string& relativePath) const;
};

}  // namespace quillmark::cli
