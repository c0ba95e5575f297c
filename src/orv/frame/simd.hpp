#pragma once
// The vector instruction sets the numeric kernels choose from at run time.
// Every path of a kernel gives the same doubles; the narrower ones can be
// asked for by name, so that each is tested on a machine that has a wider one.

namespace orv {

// Avx2 and Avx512 (F) each come with the fused multiply-add, which kernels use
// only where it is exact.
enum class InstructionSet { Sse2, Avx2, Avx512 };

// Whether this processor runs `set` (Sse2 always).
bool Supports(InstructionSet set);
// The widest set this processor runs.
InstructionSet BestInstructionSet();
const char* Name(InstructionSet set);

}  // namespace orv
