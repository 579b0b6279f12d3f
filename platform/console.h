#pragma once
// Whether a standard stream is a terminal, for progress shown only to people.

namespace seedlens::platform {

enum class Stream { Output, Error };
bool IsTerminal(Stream Which);

}  // namespace seedlens::platform
