// Commands that work with the cyclotomic field itself: choose the root of
// unity, show the cyclotomic polynomial, and build plane point sets
// (1 : x : y) with x running through the s-th roots of unity.  Only TARV_QN
// carries them out; the other programs answer with a hint.
#pragma once

void root();
void cyclpol();
void cyclotom();
void cyclotom2();
void gencycl();
