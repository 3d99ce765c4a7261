// The result cache: for each 48-byte RGB block met, the ETC1 block that a cached
// method made of it, so that no block is compressed twice.
//
// One direct-mapped table of 8,000,063 entries; the entry of a block is
// hash mod 8,000,063. The driver's thread looks blocks up while worker threads
// store their results; every entry is read and written as a whole, so nobody
// sees the key of one store with the block words of another.
#pragma once

#include <cstdint>

// The method whose cache file was last loaded (or tried), -1 when none.
extern int32_t g_etc1CacheMethod;

namespace ETC1Encoder {

inline constexpr uint32_t kETC1CacheEntryCount = 8000063;  // a prime

struct ETC1CacheEntry {
    uint32_t keyLow;
    uint32_t keyHigh;
    uint32_t blockHigh;  // bits 63 to 32 of the ETC1 block
    uint32_t blockLow;   // bits 31 to 0
};

inline constexpr int64_t kETC1CacheBytes = int64_t{kETC1CacheEntryCount} * int64_t{sizeof(ETC1CacheEntry)};
static_assert(kETC1CacheBytes == 128001008);

uint32_t ETC1CacheIndex(uint64_t hash);

// Forgets every entry. The table's memory is filled with empty entries (all
// bytes 0xFF) only when it is next used, so a run that never uses it pays nothing.
void EmptyETC1Cache();

// A hit when the block's entry holds this key; gives the ETC1 block's words.
bool LookUpETC1Block(uint64_t key, uint64_t hash, uint32_t& high, uint32_t& low);

// The block's entry becomes this key and these words, whatever it held.
void StoreETC1Block(uint64_t key, uint64_t hash, uint32_t high, uint32_t low);

// The table as the cache files hold it, for LoadETC1Cache and SaveETC1Cache
// alone: they run while no worker exists.
namespace ETC1CacheMemory {

// The table's 128,001,008 bytes, entry i at byte 16 x i, little-endian words.
uint8_t* Bytes();
// Makes every entry empty now.
void FillEmpty();
// Carries out a pending EmptyETC1Cache.
void FinishPendingEmpty();
// Every byte has just been read from a file: a pending empty is void, and
// nothing has changed since that file.
void MarkWhollyLoaded();
// True when an entry may differ from the file last loaded or saved (after an
// emptying, or stores that left some entry changed); MarkWhollyLoaded and
// MarkSaved make the table match its file again.
bool ChangedSinceFile();
void MarkSaved();

}  // namespace ETC1CacheMemory

}  // namespace ETC1Encoder
