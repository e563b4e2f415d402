#pragma once
#include <string>
namespace report {
const char* Title();    /* Œ©o‚µ‚ğ•Ô‚· */
std::string Escape(const std::string& s);
}
