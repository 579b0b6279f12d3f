#pragma once
// Raised by the walks over the tree when a value that must be a list or a
// dictionary is neither; the loader reports it as the walk's failure.

#include <stdexcept>

namespace seedlens {

class WalkError : public std::runtime_error {
public:
    explicit WalkError(const char* What) : std::runtime_error(What) {}
};

// Throws WalkError unless Node is a list or a dictionary.
void RequireEntries(const class TBEncoded& Node, const char* What);

}  // namespace seedlens
