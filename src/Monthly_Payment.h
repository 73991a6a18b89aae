// The fixed monthly payment of a loan.
#ifndef MONTHLY_PAYMENT_H
#define MONTHLY_PAYMENT_H

// amount * r / (1 - (1 + r)^-n) for a monthly rate r (a fraction, not a
// percentage) and n months, to about 100 bits before one rounding to a
// double: for rates however small and terms however long. A zero rate gives
// amount / n, its limit.
double computeMonthlyPayment(double amount, double monthlyRate, int months);

#endif
