#pragma once
#include <string>
namespace report {
const char* Title();    /* 見出しを返す */
std::string Escape(const std::string& s);
}
