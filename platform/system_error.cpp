#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

namespace quillmark::platform {

SystemError SystemError::FromErrno() { return FromCode(errno); }

SystemError SystemError::FromCode(int code) { return SystemError{code, std::strerror(code)}; }

}  // namespace quillmark::platform
