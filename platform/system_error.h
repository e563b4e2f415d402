// Errors as values: what a platform call gives back instead of leaving its
// reason in errno for the caller to read.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quillmark::platform {

struct SystemError {
  int code = 0;        // the system's error number
  std::string reason;  // the system's words for it ("Permission denied")

  // The error the last failed system call left; only platform/ asks.
  static SystemError FromErrno();
  static SystemError FromCode(int code);
};

// A value, or the error that kept the call from giving one.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(SystemError error) : state_(std::in_place_index<1>, std::move(error)) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }
  T& value() { return std::get<0>(state_); }
  const T& value() const { return std::get<0>(state_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  template <class U>
  T value_or(U&& fallback) const& {
    return has_value() ? value() : static_cast<T>(std::forward<U>(fallback));
  }
  // The error; only when there is no value.
  const SystemError& error() const { return std::get<1>(state_); }

  friend bool operator==(const Result& result, const T& value) { return result.has_value() && result.value() == value; }

 private:
  std::variant<T, SystemError> state_;
};

// Success, or the error: for calls that give nothing back.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(SystemError error) : failed_(true), error_(std::move(error)) {}

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  // The error; only when not ok.
  const SystemError& error() const { return error_; }

 private:
  bool failed_ = false;
  SystemError error_;
};

}  // namespace quillmark::platform
