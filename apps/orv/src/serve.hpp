#pragma once
// `orv serve`: the library's classes driven by JSON lines, one request per
// line in, one response per line out. Requests:
//
//   {"id": 1, "op": "create", "class": "ORVMain.CMatrix"}
//   {"id": 2, "op": "invoke", "object": 1, "member": "SetSize", "kind": "method",
//    "args": [3, 3], "named": {"Persist": true}}
//   {"id": 3, "op": "release", "object": 1}
//
// Responses carry the request's id and either "result" (and "byref": the
// values written back into by-reference arguments, by position or name),
// "error": {"number", "source", "description"} for a failed call, or
// "protocol_error": text for a line that is not a request. Values are JSON
// where JSON tells the types apart: a string is a String, true/false a
// Boolean, an integer a Long, a number with a point or exponent a Double
// (written to read back to the same bits); every other type is tagged:
//   {"$": "empty"} {"$": "null"} {"$": "missing"} {"$": "i2", "v": 5}
//   {"$": "r4", "v": 1.5} {"$": "r8", "bits": "7ff8000000000000"} (not finite)
//   {"$": "cy", "scaled": 15000} {"$": "date", "v": 45000.25}
//   {"$": "error", "code": 2042} {"$": "object", "handle": 3}
//   {"$": "array", "type": "r8", "lbound": [1, 1], "count": [2, 3], "data": [...]}
// with array types r8, i2, i4, str and variant, data row by row.
#include <cstddef>
#include <istream>
#include <ostream>

namespace orv::serve {

// What one client may make the server hold. max_cells bounds the memory of
// each request: no array, matrix or range read or write that a request
// causes may hold more elements (cells, doubles, Variants); a larger one is
// answered with error 7 (out of memory) instead of being allocated. The
// default, 2^27, is 1 GiB of doubles.
struct Limits {
  std::size_t max_line = 64u << 20;     // bytes of one request
  std::size_t max_objects = 1u << 20;   // handles held at once
  std::size_t max_cells = 1u << 27;     // elements of one array, matrix or range
};

// Answers requests until the input ends, then frees every object the
// client still held. Returns the number of objects so freed.
std::size_t Serve(std::istream& in, std::ostream& out, const Limits& limits = {});

}  // namespace orv::serve
