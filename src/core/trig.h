// Sine and cosine that give the same bits on every machine.
//
// The C libraries round their last bit differently (glibc and the browser
// build's musl disagree on about one input in ten the game uses), and a state
// checksum covers every bit. These compute in double-double, about 100 bits,
// then round once: the nearest value, as a correctly rounded library gives.
// Only + - * / are used, which IEEE fixes everywhere.
#pragma once

// ---- functions -------------------------------------------------------------

double exactSin(double x);  // radians, |x| below about a million
double exactCos(double x);
float  exactSin(float x);   // the nearest float to the true sine
float  exactCos(float x);
