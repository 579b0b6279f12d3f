#pragma once
// Failures of the bencode reader.

#include <stdexcept>
#include <string>
#include <string_view>

namespace seedlens {

// Grammar failures carry their code as the message: "1" to "13".
enum class BEncodeErrorCode {
    NoValue = 1,              // no byte where a value must begin
    IntegerUnterminated = 2,  // stream ends before an integer's "e"
    IntegerBadByte = 3,       // a byte other than "-", a digit or "e" in an integer
    IntegerEmpty = 4,         // "ie"
    ListUnterminated = 5,     // stream ends inside a list
    DictionaryUnterminated = 6,
    KeyNotString = 7,         // a dictionary key must be a byte string
    UnknownValue = 8,         // a value starts with a byte other than i, l, d or a digit
    LengthUnterminated = 9,   // stream ends before a length's ":"
    LengthBadByte = 10,
    LengthEmpty = 11,
    LengthTooLong = 12,       // a length text longer than any real length
    StringTruncated = 13,     // fewer bytes left than the length declares
    // Not part of the grammar: the input nests too deeply or has too many
    // nodes for a tree we are willing to build inside a host process.
    LimitExceeded = 15,
};

class BEncodeError : public std::runtime_error {
public:
    explicit BEncodeError(BEncodeErrorCode Code)
        : std::runtime_error(std::to_string(static_cast<int>(Code))), FCode(Code) {}
    BEncodeErrorCode Code() const { return FCode; }

private:
    BEncodeErrorCode FCode;
};

// An integer whose characters pass the reader's filter but that is no valid
// signed 64-bit decimal number ("--5", "1-2", out of range).
class IntegerConversionError : public std::runtime_error {
public:
    explicit IntegerConversionError(std::string_view Text);
};

}  // namespace seedlens
