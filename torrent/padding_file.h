#pragma once
// Padding files: entries that creators put in a "files" list to align the
// next file on a piece boundary. They hold zeros nobody asked for, so they
// are neither counted as files nor added to the total size.

#include "bencode/bencoded.h"

namespace seedlens {

// True when the entry's "attr" holds the letter "p", or when the last element
// of its "path" or "path.utf-8" starts with "_____padding_file_" (the older
// creators' mark).
bool IsPaddingFile(const TBEncoded& Entry);
// Whether one member of an entry marks it as padding, for walks that look
// at every member anyway.
bool IsPaddingMark(const TBEncodedData& Member);

}  // namespace seedlens
