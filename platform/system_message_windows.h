#pragma once
// The system's words for an error code, as UTF-8 without the trailing
// period and line break. Only the Windows implementations include this.

#include <windows.h>

#include <string>

#include "platform/code_pages.h"

namespace seedlens::platform {

inline std::string SystemMessage(DWORD Error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, Error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string message(reinterpret_cast<const char16_t*>(text), length);
    LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u'.' ||
                                message.back() == u' '))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(Error) : Utf16ToUtf8(message);
}

}  // namespace seedlens::platform
