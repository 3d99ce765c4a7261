#include "etc1/BlockError.h"

double BlockErrorRGB(const uint8_t* source, const uint8_t* decoded) {
    // Every partial sum is an integer far below 2^53, so integer addition in any
    // order gives the double result exactly.
    int32_t sum = 0;
    for (int32_t i = 0; i < 48; ++i) {
        int32_t d = source[i] - decoded[i];
        sum += d * d;
    }
    return static_cast<double>(sum);
}

double BlockErrorPerceptual(const uint8_t* source, const uint8_t* decoded) {
    constexpr double kWeight[3] = {0.299, 0.587, 0.114};
    double sum = 0.0;
    for (int32_t x = 0; x < 4; ++x) {
        for (int32_t y = 0; y < 4; ++y) {
            int32_t offset = 3 * (4 * y + x);
            for (int32_t channel = 0; channel < 3; ++channel) {
                double d =
                    static_cast<double>(source[offset + channel]) - static_cast<double>(decoded[offset + channel]);
                sum += (d * d) * kWeight[channel];
            }
        }
    }
    return sum;
}
