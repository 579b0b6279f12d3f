#pragma once
// One document kept for the next load, which clears it: its texts and lists
// keep their buffers, so loading a typical torrent allocates little. Only a
// document holding at most MaxHeldBytes is kept, so a hostile torrent's huge
// comment does not stay in the host's memory. Loads running at the same time
// that find no spare make their own document.

#include <atomic>
#include <cstddef>
#include <memory>

#include "torrent/torrent_file.h"

namespace seedlens {

class SpareDocument {
public:
    static constexpr std::size_t MaxHeldBytes = 64 * 1024;

    // A document lent for one load, given back when the loan ends.
    class Loan {
    public:
        explicit Loan(SpareDocument& Lender) : FLender(Lender), FDocument(Lender.Take()) {}
        ~Loan() { FLender.Give(std::move(FDocument)); }
        Loan(const Loan&) = delete;
        Loan& operator=(const Loan&) = delete;

        TTorrentFile& Document() { return *FDocument; }

    private:
        SpareDocument& FLender;
        std::unique_ptr<TTorrentFile> FDocument;
    };

    SpareDocument() = default;
    ~SpareDocument();
    SpareDocument(const SpareDocument&) = delete;
    SpareDocument& operator=(const SpareDocument&) = delete;

    // Whether a document is kept now.
    bool HasSpare() const { return FSpare.load() != nullptr; }

private:
    // The spare document, or a new one when there is none.
    std::unique_ptr<TTorrentFile> Take();
    // Keeps Document, unless it holds too much memory or another document
    // is kept already.
    void Give(std::unique_ptr<TTorrentFile> Document) noexcept;

    std::atomic<TTorrentFile*> FSpare{nullptr};
};

}  // namespace seedlens
