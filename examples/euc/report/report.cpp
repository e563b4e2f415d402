// 帳票出力
#include <string>

namespace report {

const char* Title() { return "月次売上レポート"; }
const wchar_t* WideTitle() { return L"週次レポート"; }

std::string Escape(const std::string& s)
{
    // "\"" inside a literal, and an escaped quote around Japanese
    return "\"" + s + "\"" + "\"引用\"";
}

const char* Skills()
{
    return "ソフトウェア能力";  // ソ and 能 also end in 0x5C
}

}  // namespace report
