# The double-double product of src/Double_Double.h (operator*), within 8u^2
# of the exact product, u = 2^-53, for normalized operands. Gappa proves it;
# scripts/lint runs it.
#
# Both operands are scaled by powers of two so that their hi words lie in
# [1, 2], which changes no rounding while nothing overflows or falls among the
# subnormals; a sign changes none either. Normalized: |lo| <= ulp(hi) / 2.
# The error-free steps are written as what they return: Dekker's product
# (ph, pl) with ph + pl = ah bh exactly, and Fast2Sum (zh, zl) with zh + zl =
# ph + s exactly, since |ph| >= 1 > |s|.
@rnd = float<ieee_64, ne>;

ah = rnd(xah);
al = rnd(xal);
bh = rnd(xbh);
bl = rnd(xbl);

ph = rnd(ah * bh);
pl = ah * bh - ph;
cross = rnd(rnd(ah * bl) + rnd(al * bh));
s = rnd(pl + cross);
z = ph + s;

exact = (ah + al) * (bh + bl);

{ ah in [1, 2] /\ bh in [1, 2] /\ |al| <= 0x1p-53 /\ |bl| <= 0x1p-53
  -> |(z - exact) / exact| <= 0x1p-103 }

# The error, term by term: the two roundings of the low sum, the two cross
# products' roundings, and the dropped al bl.
z - exact -> (s - (pl + cross)) + (cross - (rnd(ah * bl) + rnd(al * bh))) + (rnd(ah * bl) - ah * bl)
    + (rnd(al * bh) - al * bh) - al * bl;
$ ah in 16, bh in 16;
