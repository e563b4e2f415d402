// Which item of the encoding combo box shows a stored Encoding setting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::editor {

// The index of the item that begins with `encoding`, compared without
// regard to ASCII case; the search starts at the second item and wraps
// round to the first, as the list's prefix search does. 0 when no item
// matches, when `encoding` is empty (every item would match) and when
// there are no items.
std::size_t EncodingItemFor(const std::vector<std::string>& items, std::string_view encoding);

}  // namespace quillmark::editor
