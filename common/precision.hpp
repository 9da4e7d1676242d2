// Values that the model's arithmetic defines in single precision but that
// are kept in double variables.
#pragma once

namespace orvel {

// x rounded to single precision, returned as a double.  The rounded value is
// passed through an empty assembler statement, which the optimiser must
// treat as opaque: it can then never substitute the unrounded double for it.
// (GCC 12's straight-line vectoriser did exactly that when the rounding
// happened in one branch and a plain double store in the other.)
inline double single_rounded(double x) {
  float f = static_cast<float>(x);
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  asm("" : "+x"(f));
#elif defined(__GNUC__) && defined(__aarch64__)
  asm("" : "+w"(f));
#else
  volatile float held = f;
  f = held;
#endif
  return static_cast<double>(f);
}

}  // namespace orvel
