#include "bencode/block_pool.h"
#include "platform/mutex.h"

#include <mutex>
#include <vector>

namespace seedlens {

namespace {

class FreeBlocks {
public:
    FreeBlocks() { FBlocks.reserve(BlockPool::MaxKept); }  // no allocation under the lock later
    ~FreeBlocks() {
        for (void* block : FBlocks) ::operator delete(block);
    }
    FreeBlocks(const FreeBlocks&) = delete;
    FreeBlocks& operator=(const FreeBlocks&) = delete;

    void* Take() {
        {
            const std::lock_guard lock(FMutex);
            if (!FBlocks.empty()) {
                void* block = FBlocks.back();
                FBlocks.pop_back();
                return block;
            }
        }
        return ::operator new(BlockPool::BlockBytes);
    }

    void Give(void* Block) noexcept {
        {
            const std::lock_guard lock(FMutex);
            if (FBlocks.size() < BlockPool::MaxKept) {
                FBlocks.push_back(Block);
                return;
            }
        }
        ::operator delete(Block);
    }

private:
    platform::Mutex FMutex;
    std::vector<void*> FBlocks;
};

FreeBlocks& Pool() {
    static FreeBlocks pool;
    return pool;
}

}  // namespace

void* BlockPool::Take() { return Pool().Take(); }
void BlockPool::Give(void* Block) noexcept { Pool().Give(Block); }

}  // namespace seedlens
