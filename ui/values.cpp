#include "ui/values.h"

#include <utility>

namespace ui {

RuntimeError::RuntimeError(ErrorNumber number, std::string text)
    : number_(number), text_(std::move(text)) {}

void Raise(ErrorNumber number, long long detail) {
  switch (number) {
    case ErrorNumber::InvalidCall:
      throw RuntimeError(number, "Invalid procedure call or argument");
    case ErrorNumber::Overflow:
      throw RuntimeError(number, "Overflow");
    case ErrorNumber::OutOfMemory:
      throw RuntimeError(number, "Out of memory");
    case ErrorNumber::SubscriptOutOfRange:
      throw RuntimeError(number, "Subscript out of range");
    case ErrorNumber::DivisionByZero:
      throw RuntimeError(number, "Division by zero");
    case ErrorNumber::ElementDoesNotExist:
      throw RuntimeError(number,
                         "Control array element '" + std::to_string(detail) + "' doesn't exist");
    case ErrorNumber::ObjectAlreadyLoaded:
      throw RuntimeError(number, "Object already loaded");
  }
  throw RuntimeError(number, "Application-defined or object-defined error");
}

}  // namespace ui
