#pragma once
// Text bound for a standard stream, written out in large pieces, with every
// write checked: output that could not be written must not end in success.

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/console.h"

namespace seedlens::tool {

// A write failed; what() is the system's reason.
class WriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CheckedOutput {
public:
    explicit CheckedOutput(platform::Stream Which) : FWhich(Which) {}

    // Where text is added before it is written.
    std::string& Text() { return FText; }
    // Writes what is held; throws WriteError when that fails.
    void Flush();
    // Writes once enough is held to be worth a system call.
    void FlushIfFull();

private:
    platform::Stream FWhich;
    std::string FText;
};

// Writes Text to Which at once; throws WriteError when that fails.
void WriteNow(platform::Stream Which, std::string_view Text);

}  // namespace seedlens::tool
