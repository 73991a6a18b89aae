// The fixed monthly payment of a loan.
#ifndef MONTHLY_PAYMENT_H
#define MONTHLY_PAYMENT_H

// amount * r / (1 - (1 + r)^-n) for a monthly rate r (a fraction, not a
// percentage) and n months: the double nearest its exact value, ties to even,
// wherever that value is a finite number. A zero rate gives amount / n, its
// limit. Where the formula has no finite value (n = 0, r = -100% with n > 0,
// r = -200% with n even, an infinite or not-a-number amount or rate), the
// result is as the table below says: mostly the formula evaluated in doubles
// as it stands, (a r) (g / (g - 1)) with g = (1 + r)^n.
//
// The rounding is proven in Monthly_Payment.cpp for every loan whose payment
// lies on a midpoint between doubles or at least 2^-2000 of itself from one,
// which covers every family of loans known to come close. A loan closer than
// that, not on one, is left to an estimate: about 2^-1800 such loans are
// expected among all. There an assertion stops builds that keep assertions,
// and others return the double the search reached.
//
// How it is found (n = months, x = 1 + r):
//
//   rate r           months  amount      result
//   0                any     any         amount / n
//   |r| < 2^-150     n != 0  any         amount / n, or its neighbour on
//                                        the side of (n + 1) r when it is
//                                        a subnormal midpoint
//   finite, x^n      n != 0  finite      from a start within 2^-62, the
//   neither 0 nor 1                      midpoints either side compared
//                                        with P in 128 bits, then 256, ...
//                                        up to 2048, until each comparison
//                                        is certain
//   above -100%      n != 0  inf, nan    amount * sign(n)
//   +inf             n != 0  any         amount * inf for n > 0, else nan
//   the rest (n = 0, r = -1 with n > 0, r = -2 with n even, r = -inf or nan,
//   an infinite or nan amount at or below -100%): the formula as it stands.
double computeMonthlyPayment(double amount, double monthlyRate, int months);

#endif
