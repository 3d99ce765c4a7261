#include "tools/editor-host/HostHandles.h"

#include <cstring>
#include <map>
#include <memory>
#include <new>

namespace EditorHost {

using PluginHost::Handle;

namespace {

struct Block {
    std::unique_ptr<uint8_t[]> bytes;
    int32_t size = 0;
    int32_t locks = 0;
};

// The host calls modules on one thread, so the table needs no lock.
std::map<Handle, std::unique_ptr<Block>>& Blocks() {
    static std::map<Handle, std::unique_ptr<Block>> blocks;
    return blocks;
}

Block* Find(Handle handle) {
    auto found = Blocks().find(handle);
    return found != Blocks().end() ? found->second.get() : nullptr;
}

Handle NewHandle(int32_t size) {
    if (size < 0) return 0;
    auto block = std::make_unique<Block>();
    // One byte at least, so that even an empty block has an address to lock.
    block->bytes.reset(new (std::nothrow) uint8_t[size > 0 ? size : 1]());
    if (block->bytes == nullptr) return 0;
    block->size = size;
    Handle handle = reinterpret_cast<Handle>(block.get());
    Blocks().emplace(handle, std::move(block));
    return handle;
}

void DisposeHandle(Handle handle) { Blocks().erase(handle); }

int32_t GetHandleSize(Handle handle) {
    const Block* block = Find(handle);
    return block != nullptr ? block->size : 0;
}

void* LockHandle(Handle handle, bool) {
    Block* block = Find(handle);
    if (block == nullptr) return nullptr;
    ++block->locks;
    return block->bytes.get();
}

void UnlockHandle(Handle handle) {
    Block* block = Find(handle);
    if (block != nullptr && block->locks > 0) --block->locks;
}

}  // namespace

PluginHost::HandleProcs& HostHandleProcs() {
    static PluginHost::HandleProcs procs = {NewHandle, DisposeHandle, GetHandleSize, LockHandle, UnlockHandle};
    return procs;
}

Handle NewHandleWithBytes(const void* bytes, int32_t size) {
    Handle handle = NewHandle(size);
    if (handle != 0 && size > 0) std::memcpy(Find(handle)->bytes.get(), bytes, static_cast<size_t>(size));
    return handle;
}

int32_t LiveHandleCount() { return static_cast<int32_t>(Blocks().size()); }

int32_t LockedHandleCount() {
    int32_t count = 0;
    for (const auto& entry : Blocks()) count += entry.second->locks > 0 ? 1 : 0;
    return count;
}

void DisposeAllHandles() { Blocks().clear(); }

}  // namespace EditorHost
