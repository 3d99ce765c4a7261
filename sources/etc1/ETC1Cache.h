// The result cache: for each 48-byte RGB block met, the ETC1 block that a cached
// method made of it, so that no block is compressed twice.
//
// One direct-mapped table of 8,000,063 entries; the entry of a block is
// hash mod 8,000,063. The driver's thread looks blocks up while worker threads
// store their results; every entry is read and written as a whole, so nobody
// sees the key of one store with the block words of another.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Files.h"

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

// Forgets every entry. No page of the table is written until it is first
// used, so a run that never uses the table pays nothing, and a small texture
// pays for the few pages its blocks fall on.
void EmptyETC1Cache();

// A hit when the block's entry holds this key; gives the ETC1 block's words.
// An entry of sixteen zero bytes is empty: memory that was never written
// holds it, so it must never pass for the black block (key 0, index 0).
bool LookUpETC1Block(uint64_t key, uint64_t hash, uint32_t& high, uint32_t& low);

// Starts bringing the block's entry into the processor's cache, for a lookup
// soon after; it changes nothing.
void PrefetchETC1Entry(uint64_t hash);

// The block's entry becomes this key and these words, whatever it held.
void StoreETC1Block(uint64_t key, uint64_t hash, uint32_t high, uint32_t low);

// About this many blocks will be looked up: when they would touch most of the
// table, it is filled now, on huge pages, in one read.
void ExpectETC1Lookups(int64_t blocks);

// The table as the cache files hold it, for LoadETC1Cache and SaveETC1Cache
// alone: they run while no worker exists.
namespace ETC1CacheMemory {

inline constexpr uint32_t kEntriesPerPage = 256;  // 4 KiB of the table
inline constexpr uint32_t kPageCount = (kETC1CacheEntryCount + kEntriesPerPage - 1) / kEntriesPerPage;

// The table's 128,001,008 bytes, entry i at byte 16 x i, little-endian words;
// pages not yet filled hold nothing meaningful (see FillAll).
uint8_t* Bytes();
// Every entry becomes empty, or, when `source` is open, the entry at its place
// in that file (the cache file of `method`), which must hold at least the
// table's bytes; the table keeps the file open and reads each page of it only
// when the page is first used. Emptied, the table differs from any file;
// filled from one, it matches it.
void Refill(Platform::FileHandle source, int32_t method);
// The method whose file the table was last filled from or saved to, -1 after an emptying.
int32_t FileMethod();
// Fills every page that is not filled yet.
void FillAll();
// The entries stored since the last Refill or MarkSaved: for each page with
// any, `visit(page, bits)` where bit e of bits[e / 64] marks the page's entry e.
void ForEachStoredPage(const std::function<void(uint32_t page, const uint64_t (&bits)[4])>& visit);
// True when an entry may differ from the file last loaded or saved (after an
// emptying, or stores that left some entry changed).
bool ChangedSinceFile();
// The table's stores are in the method's file now.
void MarkSaved(int32_t method);

}  // namespace ETC1CacheMemory

}  // namespace ETC1Encoder
