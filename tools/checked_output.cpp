#include "tools/checked_output.h"

namespace seedlens::tool {

namespace {
constexpr std::size_t kWriteSize = 64 * 1024;
}  // namespace

void WriteNow(platform::Stream Which, std::string_view Text) {
    if (auto reason = platform::WriteAll(Which, Text)) throw WriteError(*reason);
}

void CheckedOutput::Flush() {
    if (FText.empty()) return;
    WriteNow(FWhich, FText);
    FText.clear();
}

void CheckedOutput::FlushIfFull() {
    if (FText.size() >= kWriteSize) Flush();
}

}  // namespace seedlens::tool
