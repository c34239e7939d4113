#include "engine/core/Random.h"

namespace {
unsigned int g_randState = 1;
}

int Rand() {
    g_randState = g_randState * 214013u + 2531011u;
    return (int)((g_randState >> 16) & 0x7fffu);
}

void SeedRand(unsigned int seed) { g_randState = seed; }

float RandUnit() { return (float)Rand() / (float)RAND_LIMIT; }
