// Marks a function as compiled for AVX2; such code runs only after Avx2::Supported().
#pragma once

#define BWVOQ_AVX2 __attribute__((target("avx2")))
