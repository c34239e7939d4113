#pragma once
// The one source of chance in the program: the linear congruential generator of
// the Windows C library (RAND_MAX 32767), so that the host build and the Windows
// build draw the same sequence and tests can seed it.

constexpr int RAND_LIMIT = 32767;

// Next value in 0..RAND_LIMIT.
int Rand();
// Restarts the sequence; the process starts as if seeded with 1.
void SeedRand(unsigned int seed);
// Rand() scaled by 1/32767 into 0..1.
float RandUnit();
