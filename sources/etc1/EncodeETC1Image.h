// The ETC1 encoder's entry: the EtcEncoderFunc that the converter installs and
// the image library calls once per ETC1 or ETC1_A4 mip level.
#pragma once

#include <cstdint>

// The method (EtcQuality) of the latest EncodeETC1Image call; the converter
// sets it to 0 before each conversion.
extern int32_t g_etc1LastMethod;

// Encodes width x height RGBA pixels into `destination` as ETC1_A4 when
// `format` is 13, as ETC1 otherwise, with the method `quality`. Returns 0.
int32_t EncodeETC1Image(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t format,
                        int32_t quality);
