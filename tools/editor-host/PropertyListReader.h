// Reading a module's property list (PIPL) as the host does before its first call.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace EditorHost {

// The properties of one list by key, each its data as stored (padding included).
using PropertyMap = std::map<uint32_t, std::vector<uint8_t>>;

// The properties of the list at `list`, or nothing when it is not a property
// list: another header, more than 64 properties, a property longer than 1024
// bytes or not padded to 4, another vendor, or a key given twice.
std::optional<PropertyMap> ReadPropertyList(const uint8_t* list);

// Little-endian numbers inside a property's data; 0 past its end.
uint32_t PropertyU32(const std::vector<uint8_t>& data, size_t offset);
uint16_t PropertyU16(const std::vector<uint8_t>& data, size_t offset);
// A string led by its length byte, or one ended by a 0 byte.
std::string PropertyLengthLedText(const std::vector<uint8_t>& data);
std::string PropertyEndedText(const std::vector<uint8_t>& data);

}  // namespace EditorHost
