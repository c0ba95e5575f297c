#include "orv/frame/Error.hpp"

#include <new>
#include <stdexcept>

namespace orv {

Error::Error(std::int32_t number, std::string source, std::string description)
    : Number(number), Source(std::move(source)), Description(std::move(description)) {}

std::string StandardDescription(std::int32_t number) {
  switch (number) {
    case 5:
      return "Invalid procedure call or argument";
    case 6:
      return "Overflow";
    case 7:
      return "Out of memory";
    case 9:
      return "Subscript out of range";
    case 11:
      return "Division by zero";
    case 13:
      return "Type mismatch";
    case 17:
      return "Can't perform requested operation";
    case 91:
      return "Object variable or With block variable not set";
    case 94:
      return "Invalid use of Null";
    default:
      return "Application-defined or object-defined error";
  }
}

void Raise(std::int32_t number, std::string_view source, std::string_view description) {
  throw Error(number, source.empty() ? std::string(kDefaultSource) : std::string(source),
              description.empty() ? StandardDescription(number) : std::string(description));
}

Error CurrentAsError() {
  try {
    throw;
  } catch (const Error& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return Error(kErrOutOfMemory, std::string(kDefaultSource),
                 StandardDescription(kErrOutOfMemory));
  } catch (const std::length_error&) {
    return Error(kErrOutOfMemory, std::string(kDefaultSource),
                 StandardDescription(kErrOutOfMemory));
  } catch (...) {
    return Error(kErrInvalidCall, std::string(kDefaultSource),
                 StandardDescription(kErrInvalidCall));
  }
}

}  // namespace orv
