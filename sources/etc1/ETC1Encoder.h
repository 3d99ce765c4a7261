// The ETC1 encoder's entry: the EtcEncoderFunc that the converter installs and
// the image library calls once per ETC1 or ETC1_A4 mip level.
//
// The road of one block, unit by unit:
//   ETC1Encoder        remembers the method, loads its cache file (ETC1CacheFile)
//   ETC1BlockDriver    cuts the level into blocks: ETC1LevelBlocks gathers the 48
//                      RGB bytes and packs the alpha; ETC1Methods names the
//                      method's compressor and whether it is cached
//   ETC1Hash/ETC1Cache cached methods only: a hit gives the words at once
//   ETC1WorkerPool     a miss goes to a worker once misses come thick, else it
//                      is compressed on the driver's thread
//   the compressor:
//     Fast, FastPerceptual (ETC1FastMethods): two candidate blocks
//       (ETC1FastCandidates) from the halves' quantised averages
//       (ETC1FastQuantizers) and each half's modifier rows (ETC1ModifierRows,
//       ETC1ModifierSearch), decoded (image/ETC1BlockFormat) and measured
//     Medium, Slow and their perceptual twins (ETC1BlockSearch): both
//       orientations, each half's base colours searched over windows of codes
//       (ETC1ColourSearch), paired in differential mode
//       (ETC1DifferentialPairing) or taken alone in individual mode; the
//       winner's codewords and index planes from the modifier searches
//       (ETC1ModifierSearch over ETC1ModifierRows). Medium and Slow differ only
//       in their WindowRules, plain and perceptual only in the ErrorMeasure.
//   ETC1Cache          the result is stored under the block's key
//   ETC1Messages       progress lines of the cached methods, failures
//   ETC1LevelBlocks    every block's words written in tile order
// After a successful save the converter writes the cache file (ETC1CacheFile).
#pragma once

#include <cstdint>

// The method (EtcQuality) of the latest EncodeETC1Image call; the converter
// sets it to 0 before each conversion.
extern int32_t g_etc1LastMethod;

namespace ETC1Encoder {

// Encodes width x height RGBA pixels into `destination` as ETC1_A4 when
// `format` is 13, as ETC1 otherwise, with the method `quality`. Returns 0.
int32_t EncodeETC1Image(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t format,
                        int32_t quality);

}  // namespace ETC1Encoder
