#include "plugin/spare_document.h"

namespace seedlens {

SpareDocument::~SpareDocument() { delete FSpare.exchange(nullptr); }

std::unique_ptr<TTorrentFile> SpareDocument::Take() {
    if (TTorrentFile* spare = FSpare.exchange(nullptr, std::memory_order_acquire))
        return std::unique_ptr<TTorrentFile>(spare);
    return std::make_unique<TTorrentFile>();
}

void SpareDocument::Give(std::unique_ptr<TTorrentFile> Document) noexcept {
    // Not cleared here: every load clears its document first.
    if (Document->HeldBytes() > MaxHeldBytes) return;
    TTorrentFile* none = nullptr;
    if (FSpare.compare_exchange_strong(none, Document.get(), std::memory_order_release)) Document.release();
}

}  // namespace seedlens
