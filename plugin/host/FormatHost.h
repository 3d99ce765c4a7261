// The image editor's format-module interface, as both sides of it see it: the
// records that the host hands to a format module, the handle and property
// services it offers, the selectors it calls and the result codes it expects.
//
// The host loads a module, reads its property list (PIPL) and then calls its
// entry on the host's own thread, one call at a time:
//     void PluginMain(int16_t selector, FormatRecord* record, intptr_t* data, int16_t* result);
// For selector 0 the record is an AboutRecord. `data` is a word that the host
// keeps between calls for the module (the module stores a handle in it);
// `result` is the call's result word, 0 on entry.
#pragma once

#include <cstdint>

#include "platform/Files.h"
#include "ui/Types.h"

namespace PluginHost {

// Four-character codes as numbers, the first character in the high byte.
constexpr uint32_t FourCharCode(const char (&code)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8 | static_cast<uint8_t>(code[3]);
}

// A block of memory that the host allocates, keeps and frees; a module reaches
// its bytes only between lockProc and unlockProc. 0 is no handle.
using Handle = intptr_t;

struct HandleProcs {
    Handle (*newProc)(int32_t size);                // 0 when the block cannot be had
    void (*disposeProc)(Handle handle);
    int32_t (*getSizeProc)(Handle handle);          // bytes the block holds
    void* (*lockProc)(Handle handle, bool moveHigh);  // null when the block cannot be locked
    void (*unlockProc)(Handle handle);
};

struct PropertyProcs {
    // A property of the open document. A simple property comes as a number, a
    // complex one as a new handle that the caller disposes. 0 when found.
    int16_t (*getPropertyProc)(uint32_t signature, uint32_t key, int32_t index, intptr_t* simpleProperty,
                               Handle* complexProperty);
};

// The window that the module's dialogs belong to.
struct PlatformData {
    ui::HWND hwnd = nullptr;
};

// One alpha channel of the document; the list ends with a null `next`.
struct ReadChannelDesc {
    ReadChannelDesc* next = nullptr;
    int16_t channelIndex = 0;  // the document channel it describes
};

struct ReadImageDocumentDesc {
    ReadChannelDesc* alphaChannels = nullptr;  // null when the document has none
};

struct HostPoint {
    int16_t v = 0;  // rows
    int16_t h = 0;  // columns
};

struct HostRect {
    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;
};

inline constexpr int32_t kLookUpTableSize = 256;
inline constexpr int32_t kPlaneMapSize = 16;

struct FormatRecord {
    // Services of the host.
    HandleProcs* handleProcs = nullptr;
    PropertyProcs* propertyProcs = nullptr;
    // With data, theRect and the plane fields set, the host copies one rectangle
    // of pixels out of the module's buffer (opening) or into it (saving) before
    // it returns; its result becomes the selector's result.
    int16_t (*advanceState)() = nullptr;
    PlatformData* platformData = nullptr;  // null when the host has no window

    // The file being opened or written, read and written from its start.
    Platform::FileHandle dataFork;
    int32_t maxData = 0;       // bytes of pixel buffer the module asks for (0: its own)
    int32_t minDataBytes = 0;  // size estimate of the file to be written
    int32_t maxDataBytes = 0;

    // The document.
    int16_t imageMode = 0;  // kModeGrayScale, kModeIndexedColor or kModeRGBColor
    HostPoint imageSize;
    int16_t depth = 0;   // bits per channel
    int16_t planes = 0;  // channels, alpha channels included
    uint8_t redLUT[kLookUpTableSize] = {};
    uint8_t greenLUT[kLookUpTableSize] = {};
    uint8_t blueLUT[kLookUpTableSize] = {};
    int16_t lutCount = 0;  // palette entries of an indexed document
    // Two host words that a module clears when it opens a file and leaves alone otherwise.
    int32_t openedFileFlags = 0;
    int32_t openedFileHints = 0;
    ReadImageDocumentDesc* documentInfo = nullptr;  // the document being saved
    Handle revertInfo = 0;  // a copy of the module's state kept with the document, 0 when none

    // One pixel transfer: the byte of plane p of pixel (x, y) of theRect lies at
    // data + (y - top) * rowBytes + (x - left) * colBytes + (p - loPlane) * planeBytes,
    // and belongs to the document channel planeMap[p].
    void* data = nullptr;
    HostRect theRect;
    int16_t loPlane = 0;
    int16_t hiPlane = 0;
    int16_t colBytes = 0;
    int32_t rowBytes = 0;
    int32_t planeBytes = 0;
    int16_t planeMap[kPlaneMapSize] = {};
};

struct AboutRecord {
    PlatformData* platformData = nullptr;  // null when the host has no window
};

using PluginEntry = void (*)(int16_t selector, FormatRecord* record, intptr_t* data, int16_t* result);

enum FormatSelector : int16_t {
    formatSelectorAbout = 0,
    formatSelectorReadPrepare = 1,
    formatSelectorReadStart = 2,
    formatSelectorReadContinue = 3,
    formatSelectorReadFinish = 4,
    formatSelectorOptionsPrepare = 5,
    formatSelectorOptionsStart = 6,
    formatSelectorOptionsContinue = 7,
    formatSelectorOptionsFinish = 8,
    formatSelectorEstimatePrepare = 9,
    formatSelectorEstimateStart = 10,
    formatSelectorEstimateContinue = 11,
    formatSelectorEstimateFinish = 12,
    formatSelectorWritePrepare = 13,
    formatSelectorWriteStart = 14,
    formatSelectorWriteContinue = 15,
    formatSelectorWriteFinish = 16,
    formatSelectorFilterFile = 17,
};

// Result codes of the result word.
inline constexpr int16_t noErr = 0;
inline constexpr int16_t writErr = -20;
inline constexpr int16_t openErr = -23;
inline constexpr int16_t memFullErr = -108;
inline constexpr int16_t userCanceledErr = -128;
inline constexpr int16_t formatBadParameters = -30500;
inline constexpr int16_t formatCannotRead = -30501;
inline constexpr int16_t errPlugInHostInsufficient = -30900;

// Image modes.
inline constexpr int16_t plugInModeGrayScale = 1;
inline constexpr int16_t plugInModeIndexedColor = 2;
inline constexpr int16_t plugInModeRGBColor = 3;

// The property list that a module exports under the symbol "PIPL": an int16 1,
// an int32 version 0 and an int32 count, then `count` properties, each an int32
// vendor, key, id and length followed by `length` bytes of data (a multiple of
// 4, zero-padded). Numbers are little-endian; four-character codes are stored
// as the numbers of FourCharCode.
inline constexpr char kPropertyListSymbol[] = "PIPL";
inline constexpr int32_t kPropertyListHeaderSize = 10;
inline constexpr int32_t kPropertyHeaderSize = 16;
inline constexpr uint32_t kVendorCode = FourCharCode("8BIM");
inline constexpr uint32_t kKindProperty = FourCharCode("kind");
inline constexpr uint32_t kFormatModuleKind = FourCharCode("8BIF");
inline constexpr uint32_t kNameProperty = FourCharCode("name");      // a string led by its length byte
inline constexpr uint32_t kVersionProperty = FourCharCode("vers");
inline constexpr uint32_t kCode64Property = FourCharCode("8664");   // entry name, ended by a 0 byte
inline constexpr uint32_t kTypeCreatorProperty = FourCharCode("fmTC");
inline constexpr uint32_t kReadExtensionProperty = FourCharCode("RdEx");
inline constexpr uint32_t kWriteExtensionProperty = FourCharCode("WrEx");
inline constexpr uint32_t kMaxSizeProperty = FourCharCode("mxsz");
inline constexpr uint32_t kModesProperty = FourCharCode("mode");
inline constexpr uint32_t kFormatFlagsProperty = FourCharCode("fmtf");
inline constexpr uint32_t kMaxChannelsProperty = FourCharCode("mxch");
inline constexpr uint32_t kTitleProperty = FourCharCode("titl");

}  // namespace PluginHost
