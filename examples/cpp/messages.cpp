// A C++ message table in UTF-8 with what only a compiler's reading keeps:
// a message continued by a backslash, a raw string over lines, digit
// separators and a header name.
#include "メッセージ.h"

namespace messages {

constexpr long kLimit = 1'000'000;

const char* const kTooLarge = "ファイルが大きすぎます（上限 \
1,000,000 バイト）";

const char* const kHelp = R"help(使い方:
  convert 入力 出力
)help";

const char16_t* const kTitle = u"変換ツール";

}  // namespace messages
