# The double-double quotient of src/Double_Double.h (operator/, the QD
# library's accurate_div), within 8u^2 of the exact quotient, u = 2^-53, for
# normalized operands. Gappa proves it; scripts/lint runs it.
#
# As in dd_product.g, the operands are scaled so that their hi words lie in
# [1, 2]. The steps:
#   q1 = a.hi / b.hi;  r1 = a - b * q1;  q2 = r1.hi / b.hi;
#   r2 = r1 - b * q2;  q3 = r2.hi / b.hi;  result = (q1 + q2) + q3,
# where b * q, with q.lo = 0, is Dekker's product of b.hi and q plus
# the rounded b.lo q, gathered by an exact Fast2Sum. Each of the three
# double-double sums is the accurate one, within 3u^2 / (1 - 4u) of its exact
# value with a normalized result (Joldes, Muller and Popescu, ACM TOMS 2017,
# proven in Coq): that bound enters here as d1, d2 and d3, so r.hi is r
# rounded to nearest.
@rnd = float<ieee_64, ne>;

ah = rnd(xah);
al = rnd(xal);
bh = rnd(xbh);
bl = rnd(xbl);
A = ah + al;
B = bh + bl;
Q = A / B;

q1 = rnd(ah / bh);
p1 = rnd(bh * q1);
c1 = rnd(bl * q1);
m1 = p1 + rnd((bh * q1 - p1) + c1);
r1 = (A - m1) * (1 + d1);
q2 = rnd(rnd(r1) / bh);
p2 = rnd(bh * q2);
c2 = rnd(bl * q2);
m2 = p2 + rnd((bh * q2 - p2) + c2);
r2 = (r1 - m2) * (1 + d2);
q3 = rnd(rnd(r2) / bh);
z = (q1 + q2 + q3) * (1 + d3);

# What the products miss of b q.
mu1 = m1 - q1 * B;
mu2 = m2 - q2 * B;

{ ah in [1, 2] /\ bh in [1, 2] /\ |al| <= 0x1p-53 /\ |bl| <= 0x1p-53
  /\ |d1| <= 0x1.81p-105 /\ |d2| <= 0x1.81p-105 /\ |d3| <= 0x1.81p-105
  -> |(z - Q) / Q| <= 0x1p-103 }

# The error, as the final sum's and what q2 + q3 miss of Q - q1: the first
# sum's relative error, the second's, the products' misses, q3's rounding.
z - Q -> (q1 + q2 + q3) * d3 + (q2 + q3 - (Q - q1)) { bh <> 0, B <> 0, 1 + d1 <> 0 };
q2 + q3 - (Q - q1) -> r1 / B * (d1 / (1 + d1)) + d2 * (r1 - q2 * B - mu2) / B - mu2 / B + (q3 - r2 / B) - mu1 / B { bh <> 0, B <> 0, 1 + d1 <> 0 };
mu1 -> (rnd((bh * q1 - p1) + c1) - ((bh * q1 - p1) + c1)) + (c1 - bl * q1) { bh <> 0, B <> 0, 1 + d1 <> 0 };
mu2 -> (rnd((bh * q2 - p2) + c2) - ((bh * q2 - p2) + c2)) + (c2 - bl * q2) { bh <> 0, B <> 0, 1 + d1 <> 0 };
# The remainders are small: q1 and q2 are a / b and r1 / b but for a rounding
# and b.lo.
A - q1 * B -> B * ((al * bh - ah * bl) / (bh * B) + (ah / bh - q1)) { bh <> 0, B <> 0, 1 + d1 <> 0 };
r1 -> (A - q1 * B - mu1) * (1 + d1) { bh <> 0, B <> 0, 1 + d1 <> 0 };
r1 - q2 * B - mu2 -> B * (r1 / B - q2) - mu2 { bh <> 0, B <> 0, 1 + d1 <> 0 };
r1 / B - q2 -> (r1 - rnd(r1)) / B - rnd(r1) / bh * bl / B + (rnd(r1) / bh - q2) { bh <> 0, B <> 0, 1 + d1 <> 0 };
r2 -> (r1 - q2 * B - mu2) * (1 + d2) { bh <> 0, B <> 0, 1 + d1 <> 0 };
q3 - r2 / B -> (q3 - rnd(r2) / bh) + (rnd(r2) - r2) / bh + r2 / bh * bl / B { bh <> 0, B <> 0, 1 + d1 <> 0 };
$ ah in 8, bh in 8;
