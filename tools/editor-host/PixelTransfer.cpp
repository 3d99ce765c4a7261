#include "tools/editor-host/PixelTransfer.h"

namespace EditorHost {

using namespace PluginHost;

namespace {

bool TransferFits(const FormatRecord& record, const Document& document) {
    const HostRect& rect = record.theRect;
    if (record.data == nullptr || rect.top < 0 || rect.left < 0 || rect.top >= rect.bottom ||
        rect.left >= rect.right || rect.bottom > document.height || rect.right > document.width) {
        return false;
    }
    if (record.loPlane < 0 || record.loPlane > record.hiPlane || record.hiPlane >= kPlaneMapSize) return false;
    for (int32_t plane = record.loPlane; plane <= record.hiPlane; ++plane) {
        if (record.planeMap[plane] < 0 || record.planeMap[plane] >= static_cast<int32_t>(document.channels.size())) {
            return false;
        }
    }
    return true;
}

// Calls `copy(bufferByte, documentByte)` for every byte of the transfer.
template <typename Copy>
void ForEachByte(const FormatRecord& record, int32_t documentWidth, uint8_t* buffer, Copy copy) {
    const HostRect& rect = record.theRect;
    for (int32_t plane = record.loPlane; plane <= record.hiPlane; ++plane) {
        const int32_t channel = record.planeMap[plane];
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            uint8_t* row = buffer + static_cast<int64_t>(y - rect.top) * record.rowBytes +
                           static_cast<int64_t>(plane - record.loPlane) * record.planeBytes;
            for (int32_t x = rect.left; x < rect.right; ++x) {
                copy(row[static_cast<int64_t>(x - rect.left) * record.colBytes],
                     static_cast<size_t>(y) * documentWidth + x, channel);
            }
        }
    }
}

}  // namespace

int16_t CopyModuleToDocument(const FormatRecord& record, Document& document) {
    if (!TransferFits(record, document)) return formatBadParameters;
    ForEachByte(record, document.width, static_cast<uint8_t*>(record.data),
                [&document](uint8_t& byte, size_t at, int32_t channel) { document.channels[channel][at] = byte; });
    return noErr;
}

int16_t CopyDocumentToModule(const Document& document, const FormatRecord& record) {
    if (!TransferFits(record, document)) return formatBadParameters;
    ForEachByte(record, document.width, static_cast<uint8_t*>(record.data),
                [&document](uint8_t& byte, size_t at, int32_t channel) { byte = document.channels[channel][at]; });
    return noErr;
}

}  // namespace EditorHost
