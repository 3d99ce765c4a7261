// Decodes any text, and round-trips any bytes, within buffers of exactly the
// promised sizes, so a write past them is caught; counting without writing
// must agree with decoding.
#include <cstring>
#include <string>
#include <vector>

#include "image/Base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<uint8_t> decoded(static_cast<size_t>(ImageLib::Base64DecodedSizeBound(text)));
    int32_t count = ImageLib::Base64Decode(decoded.data(), text);
    if (count > static_cast<int32_t>(decoded.size()) || ImageLib::Base64DecodedCount(text) != count) __builtin_trap();

    int32_t length = static_cast<int32_t>(size);
    std::string encoded(static_cast<size_t>(ImageLib::Base64EncodedSize(length)), '\0');
    ImageLib::Base64Encode(encoded.data(), data, length);
    std::vector<uint8_t> back(static_cast<size_t>(ImageLib::Base64DecodedSizeBound(encoded.c_str())) + 1);
    count = ImageLib::Base64Decode(back.data(), encoded.c_str());
    if (count != length || (size > 0 && std::memcmp(back.data(), data, size) != 0)) __builtin_trap();
    return 0;
}
