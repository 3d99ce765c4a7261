// Texture encoding: an image becomes the texture data of all its mip levels.
//
// The result is one buffer of GetTextureDataSize(level-0 width, level-0 height,
// level count, format) bytes holding the levels one after another. It is a new
// buffer that the caller owns (a ByteBuffer frees it).
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace ImageLib {

// Prepares the image and encodes it by the options: an Indexed image is
// encoded from its RGB conversion, options->colorCorrection is applied to a
// copy, the chain is built (BuildMipChain) and every level encoded. The image
// passed in receives the chain of its own, uncorrected pixels with the level
// sizes that were encoded (an Indexed image keeps its mip fields). Null on any
// failure, an unknown format (ETC1_AUTO and INVALID included) among them.
ByteBuffer EncodeTexture(CImage* image, const ImageOptions* options);

// The image a file writer encodes and describes: an Indexed image's RGB
// conversion, made into `rgbCopy`, so that the mip fields EncodeTexture leaves
// belong to the image returned; any other image itself.
CImage& ImageToEncode(CImage& image, CImage& rgbCopy);

// Encodes every level of the image's chain in the format. ETC1 and ETC1_A4
// levels go to `encoder` with `quality`; without an encoder they stay zero.
// Null for a missing image or chain, an unknown format, or a size that does not
// fit in int32.
ByteBuffer EncodeMipLevels(const CImage* image, int32_t format, int32_t quality, EtcEncoderFunc encoder);

}  // namespace ImageLib
