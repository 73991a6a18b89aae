// The fixed monthly payment of a loan.
#ifndef MONTHLY_PAYMENT_H
#define MONTHLY_PAYMENT_H

// amount * r / (1 - (1 + r)^-n) for a monthly rate r (a fraction, not a
// percentage) and n months: the double nearest its exact value, ties to even,
// wherever that value is a finite number. One case rests on a search rather
// than a proof: a payment within about 2^-208 of a midpoint between doubles,
// not on it, whose 256-bit decision is not exact; there an assertion stops
// builds that keep assertions, and others return the double-double answer's
// nearest double. A zero rate gives amount / n, its limit. Where the formula
// has no finite value (n = 0, r = -100% with n > 0, r = -200% with n even, an
// infinite or not-a-number amount or rate), the result is what the formula
// gives evaluated as it stands.
//
// How it is found (n = months, x = 1 + r):
//
//   rate r             months   amount      result                  roundings
//   0                  any      any         amount / n              1
//   |r| < 2^-150       n != 0   any         amount / n: the exact   1
//                                           value is within 2^-116
//                                           of it, which is never
//                                           near a midpoint
//   -1 < r < inf       n != 0   0, inf, nan amount * sign(n)        0
//   -1 < r < inf       n != 0   finite      doubled doubles, error  1
//                                           below (|n| + 2) 2^-92;
//                                           near a midpoint, the
//                                           sign of P - m in 256
//                                           bits, exact for ties
//                                           and for a leading term
//                                           on a midpoint
//   -1                 n < 0    finite      -amount                 0
//   r < -1, x^n != 1   n != 0   finite      256 bits, then as above 1
//   the rest (n = 0, r = -1 with n > 0, r = -2 with n even, r = +-inf or nan,
//   an infinite or nan amount below -100%): the formula as it stands.
double computeMonthlyPayment(double amount, double monthlyRate, int months);

#endif
