// The plug-in's property list (PIPL), through which the host finds and
// identifies the module before its first call. Built at compile time in the
// layout that plugin/host/FormatHost.h describes; the module exports it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "plugin/PluginConfiguration.h"

namespace FormatPlugin {

// Writes the property list through `sink` (a byte at a time) and returns its size.
template <typename Sink>
constexpr size_t WritePropertyList(Sink&& sink) {
    using namespace PluginHost;
    size_t size = 0;
    auto byte = [&](uint8_t value) {
        sink(size, value);
        ++size;
    };
    auto u16 = [&](uint32_t value) {
        byte(static_cast<uint8_t>(value));
        byte(static_cast<uint8_t>(value >> 8));
    };
    auto u32 = [&](uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    };
    auto padded = [](size_t length) { return (length + 3) / 4 * 4; };
    auto header = [&](uint32_t key, size_t length) {
        u32(kVendorCode);
        u32(key);
        u32(0);  // property id
        u32(static_cast<uint32_t>(length));
    };
    auto numbers = [&](uint32_t key, std::initializer_list<uint32_t> values) {
        header(key, 4 * values.size());
        for (uint32_t value : values) u32(value);
    };
    auto shorts = [&](uint32_t key, std::initializer_list<uint16_t> values) {
        header(key, padded(2 * values.size()));
        for (uint16_t value : values) u16(value);
        if (values.size() % 2 != 0) u16(0);
    };
    // A string with a length byte before it, or a 0 byte after it.
    auto text = [&](uint32_t key, const char* value, bool lengthFirst) {
        size_t length = 0;
        while (value[length] != '\0') ++length;
        const size_t stored = length + 1;
        header(key, padded(stored));
        if (lengthFirst) byte(static_cast<uint8_t>(length));
        for (size_t i = 0; i < length; ++i) byte(static_cast<uint8_t>(value[i]));
        if (!lengthFirst) byte(0);
        for (size_t i = stored; i < padded(stored); ++i) byte(0);
    };

    u16(1);   // list kind
    u32(0);   // version
    u32(11);  // property count
    numbers(kKindProperty, {kFormatModuleKind});
    text(kNameProperty, kConfiguration.displayName, true);
    numbers(kVersionProperty, {0x00010000});
    text(kCode64Property, "PluginMain", false);
    numbers(kTypeCreatorProperty, {kConfiguration.fileType, kVendorCode});
    numbers(kReadExtensionProperty, {kConfiguration.extension});
    numbers(kWriteExtensionProperty, {kConfiguration.extension});
    shorts(kMaxSizeProperty, {32767, 32767});
    numbers(kModesProperty, {0x70});  // grayscale, indexed colour and RGB colour
    // Saves image resources, can read, can write, can write if read.
    numbers(kFormatFlagsProperty, {0x0000001E});
    shorts(kMaxChannelsProperty, {1, 24, 24, 24});  // bitmap, grayscale, indexed, RGB
    return size;
}

inline constexpr size_t kPropertyListSize = WritePropertyList([](size_t, uint8_t) {});

constexpr std::array<uint8_t, kPropertyListSize> BuildPropertyList() {
    std::array<uint8_t, kPropertyListSize> bytes{};
    WritePropertyList([&bytes](size_t at, uint8_t value) { bytes[at] = value; });
    return bytes;
}

}  // namespace FormatPlugin
