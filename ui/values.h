// The value types of the window runtime: checked 8- and 16-bit integers, 16-bit booleans,
// single-precision coordinates, and the run-time errors they raise.
#pragma once

#include <cmath>
#include <cstdint>
#include <exception>
#include <string>

namespace ui {

// Numbers and texts of the run-time errors the runtime can raise.
enum class ErrorNumber : int {
  InvalidCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  DivisionByZero = 11,
  ElementDoesNotExist = 340,
  ObjectAlreadyLoaded = 360,
};

class RuntimeError : public std::exception {
 public:
  RuntimeError(ErrorNumber number, std::string text);
  ErrorNumber number() const { return number_; }
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  ErrorNumber number_;
  std::string text_;
};

// Raises the run-time error with its standard text (`detail` fills in the element index of
// error 340).
[[noreturn]] void Raise(ErrorNumber number, long long detail = 0);

// 16-bit boolean: True is -1, False is 0.
using Boolean = std::int16_t;
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

// A value converted to one of the checked integer types must lie in its range; otherwise the
// conversion raises the overflow error.
template <typename Storage, long long Min, long long Max>
class CheckedInteger {
 public:
  constexpr CheckedInteger() = default;
  // Implicit, like the assignments of the language the handlers are written in: every
  // conversion into the type is checked.
  constexpr CheckedInteger(long long v) : v_(check(v)) {}  // NOLINT(google-explicit-constructor)
  constexpr operator int() const { return v_; }            // NOLINT(google-explicit-constructor)

 private:
  static constexpr Storage check(long long v) {
    if (v < Min || v > Max) Raise(ErrorNumber::Overflow);
    return static_cast<Storage>(v);
  }
  Storage v_ = 0;
};

// Unsigned 8-bit counter: arithmetic happens in int and every store back is checked, so a
// result outside 0...255 raises the overflow error.
using Byte = CheckedInteger<std::uint8_t, 0, 255>;
// Signed 16-bit integer (element indexes, mouse buttons and modifier masks).
using Integer = CheckedInteger<std::int16_t, -32768, 32767>;

// Single-precision value in twips. Arithmetic is checked: a result that is not finite raises the
// overflow error, a division by zero the division-by-zero error.
class Single {
 public:
  constexpr Single() = default;
  constexpr Single(float v) : v_(v) {}                    // NOLINT(google-explicit-constructor)
  constexpr Single(int v) : v_(static_cast<float>(v)) {}  // NOLINT(google-explicit-constructor)
  constexpr float value() const { return v_; }

  friend Single operator+(Single a, Single b) { return checked(a.v_ + b.v_); }
  friend Single operator-(Single a, Single b) { return checked(a.v_ - b.v_); }
  friend Single operator*(Single a, Single b) { return checked(a.v_ * b.v_); }
  friend Single operator/(Single a, Single b) {
    if (b.v_ == 0.0f) Raise(ErrorNumber::DivisionByZero);
    return checked(a.v_ / b.v_);
  }
  friend constexpr bool operator<(Single a, Single b) { return a.v_ < b.v_; }
  friend constexpr bool operator>(Single a, Single b) { return a.v_ > b.v_; }
  friend constexpr bool operator<=(Single a, Single b) { return a.v_ <= b.v_; }
  friend constexpr bool operator>=(Single a, Single b) { return a.v_ >= b.v_; }
  friend constexpr bool operator==(Single a, Single b) { return a.v_ == b.v_; }

 private:
  static Single checked(float v) {
    if (!std::isfinite(v)) Raise(ErrorNumber::Overflow);
    return Single(v);
  }
  float v_ = 0.0f;
};

inline Single Abs(Single v) {
  return Single(std::fabs(v.value()));
}

}  // namespace ui
