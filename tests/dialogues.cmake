# The dialogue, end to end: add_dialogue_check(NAME INPUT AMOUNT RATE PAYMENT)
# with the figures as the report shows them.
add_dialogue_check(OneYearAtOnePercent "1000\\n1\\n12\\n" 1000.00 1.0000 88.85)
add_dialogue_check(FiveYears "20000\\n0.5\\n60\\n" 20000.00 0.5000 386.66)
add_dialogue_check(ThirtyYears "250000\\n0.375\\n360\\n" 250000.00 0.3750 1266.71)
add_dialogue_check(SixMonths "1500\\n2\\n6\\n" 1500.00 2.0000 267.79)
# One month repays the amount and one month's interest.
add_dialogue_check(OneMonth "1000\\n1\\n1\\n" 1000.00 1.0000 1010.00)
add_dialogue_check(NegativeAmount "-1000\\n1\\n12\\n" -1000.00 1.0000 -88.85)
# The rate line shows the percentage entered, not the fraction 0.0150.
add_dialogue_check(FractionalRate "1000\\n1.5\\n12\\n" 1000.00 1.5000 91.68)
add_dialogue_check(AnswersOnOneLine "1000 1 12\\n" 1000.00 1.0000 88.85)
add_dialogue_check(BlankLinesBeforeAnswers "\\n\\n1000\\n\\n \\n1\\n\\t\\n\\n12\\n" 1000.00 1.0000 88.85)
add_dialogue_check(NoNewlineAtTheEnd "1000\\n1\\n12" 1000.00 1.0000 88.85)

# A literal (1 + r)^n - 1 gives a not-a-number for a zero rate, loses the
# payment to cancellation for a tiny rate and to overflow for a long term.
add_dialogue_check(ZeroRate "1200\\n0\\n12\\n" 1200.00 0.0000 100.00)
add_dialogue_check(TinyRate "1200\\n0.0000000001\\n12\\n" 1200.00 0.0000 100.00)
add_dialogue_check(VeryLongTerm "1000\\n1\\n100000\\n" 1000.00 1.0000 10.00)
add_dialogue_check(ZeroMonths "1000\\n1\\n0\\n" 1000.00 1.0000 inf)
# Too long for a 32-character number buffer: printed whole.
add_dialogue_check(HugeAmount "1e30\\n1\\n12\\n" 1000000000000000019884624838656.00 1.0000
  88848788678341713973288632320.00)
# Saturated to the largest int, not wrapped to a negative count.
add_dialogue_check(MonthsBeyondInt "1000\\n1\\n2147483648\\n" 1000.00 1.0000 10.00)
# A rate of -100% or less is used as read: the payment is still the
# formula's exact value, rounded once, where that value is finite.
add_dialogue_check(RateMinus300Percent "1000\\n-300\\n2\\n" 1000.00 -300.0000 -4000.00)
# (1 + r)^1 = 0: a r / 1, where the formula evaluated as it stands gave nan.
add_dialogue_check(RateMinus100PercentNegativeTerm "1000\\n-100\\n-1\\n" 1000.00 -100.0000 -1000.00)
# (1 + r)^n overflows a double; inf / inf gave nan.
add_dialogue_check(RateFarBelowMinus100Percent "139.48\\n-11069\\n423\\n" 139.48 -11069.0000 -15439.04)
# -200% over an even term: (1 + r)^n = 1, no finite payment, the formula as
# it stands; over an odd one, a r / 2.
add_dialogue_check(RateMinus200PercentEvenTerm "1000\\n-200\\n2\\n" 1000.00 -200.0000 -inf)
add_dialogue_check(RateMinus200PercentOddTerm "1000\\n-200\\n3\\n" 1000.00 -200.0000 -1000.00)
# A rate of -inf has no finite payment: the formula as it stands, not the
# arithmetic for finite rates below -100%, which cannot take an infinity.
add_dialogue_check(MinusInfiniteRate "1\\n-inf\\n-4\\n" 1.00 -inf nan)
# Exactly halfway between two doubles: ties go to the even one, ...876.
add_dialogue_check(PaymentOnAMidpoint "1.1987560940654195e+17\\n-10.15625\\n7\\n" 119875609406541952.00
  -10.1562 10906081509921876.00)

add_dialogue_check(NotANumber "1000\\nnan\\n12\\n" 1000.00 nan nan)
add_dialogue_check(InfiniteAmount "inf\\n1\\n12\\n" inf 1.0000 inf)

# An answer that cannot be read ends the run with one line on standard
# error and status 2, never a report of made-up figures:
# add_failed_dialogue_check(NAME INPUT PROMPTS-SHOWN ERROR).
set(cannot_read "payment_calculator: cannot read")
add_failed_dialogue_check(CommaInAmount "1,000\\n5\\n12\\n" 2
  "${cannot_read} the monthly interest rate: \",000\" is not a number")
add_failed_dialogue_check(DollarSignBeforeAmount "$250000\\n" 1
  "${cannot_read} the borrowed amount: \"$250000\" is not a number")
add_failed_dialogue_check(EndOfInputAtFirstPrompt "" 1 "${cannot_read} the borrowed amount: end of input")
# The "%" left by the rate answers the month count at once.
add_failed_dialogue_check(PercentSignAfterRate "1000 5% 12\\n" 3
  "${cannot_read} the number of months: \"% 12\" is not a number")
add_failed_dialogue_check(EndOfInputAtThirdPrompt "1000 1" 3 "${cannot_read} the number of months: end of input")
add_failed_dialogue_check(EndOfInputAtSecondPrompt "1000\\n\\n" 2
  "${cannot_read} the monthly interest rate: end of input")
# Only the start of a number is not a number; shown quoted, escaped and cut.
add_failed_dialogue_check(IncompleteExponent "1e+\\t\"x\\yz 0123456789012345678901234\\n" 1
  "${cannot_read} the borrowed amount: \"1e+\\x09\\\"x\\\\yz 01234567890123\"... is not a number")
if(NOT WIN32)
  add_failed_dialogue_check(StandardInputIsADirectory "<directory>" 1 "${cannot_read} the borrowed amount: Is a directory")
endif()
