#include "orv/frame/simd.hpp"

namespace orv {

bool Supports(InstructionSet set) {
  switch (set) {
    case InstructionSet::Sse2:
      return true;
    case InstructionSet::Avx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case InstructionSet::Avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
  }
  return false;
}

InstructionSet BestInstructionSet() {
  static const InstructionSet best = Supports(InstructionSet::Avx512) ? InstructionSet::Avx512
                                     : Supports(InstructionSet::Avx2) ? InstructionSet::Avx2
                                                                      : InstructionSet::Sse2;
  return best;
}

const char* Name(InstructionSet set) {
  switch (set) {
    case InstructionSet::Sse2:
      return "sse2";
    case InstructionSet::Avx2:
      return "avx2";
    case InstructionSet::Avx512:
      return "avx512";
  }
  return "";
}

}  // namespace orv
