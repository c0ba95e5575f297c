#pragma once
// The interface's comparison of two Variants, as its relational operators
// see them (binary text comparison):
//
//   - Empty equals 0 against a number and "" against a string; two Empties
//     are equal.
//   - Numbers (Integer, Long, Single, Double, Currency, Date, Boolean with
//     True as -1) compare by value. Two Currencies, and two integers, are
//     compared exactly; other pairs as doubles.
//   - Strings compare by their bytes (UTF-8 byte order is code point order).
//   - A number is less than a string, whatever the text; so a number never
//     equals a string.
//   - An error value, an object or an array on either side is a type
//     mismatch (13); otherwise a Null on either side is an invalid use of
//     Null (94), since the comparison's Null result cannot be used as a
//     truth value.
//
// Empty makes the relation intransitive (0 = Empty = "" but 0 < ""), so it
// is not a strict weak ordering when a set of values mixes Empty, numbers
// and strings.
#include "orv/frame/Variant.hpp"

namespace orv {

// -1, 0 or 1 as a is less than, equal to or greater than b.
int CompareVariants(const Variant& a, const Variant& b);

// a = b by the comparison above.
bool VariantsEqual(const Variant& a, const Variant& b);

}  // namespace orv
