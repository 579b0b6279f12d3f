#pragma once
// Digests as lowercase hexadecimal text: SHA-1 (40 digits), SHA-256 (64)
// or MD5 (32). The empty text means that no digest could be made.

#include <string>
#include <string_view>

#include "bencode/memory_stream.h"
#include "platform/digest.h"

namespace seedlens {

// Digest of every byte from the stream's position to its end; the stream is
// left at its end.
std::string GetStreamHash(MemoryStream& Stream, bool UseSHA1);
// Digest of exactly Bytes.
std::string GetStringHash(std::string_view Bytes, bool UseSHA1);
// The same into Out, whose buffer is reused when it is large enough.
void GetStringHashInto(std::string_view Bytes, bool UseSHA1, std::string& Out);
void GetStringHashInto(std::string_view Bytes, platform::DigestAlgorithm Algorithm, std::string& Out);

}  // namespace seedlens
