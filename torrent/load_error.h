#pragma once
// A load that failed: the file could not be read, or its content could not
// be parsed ("Parser error code: " and the reader's code, or 14 for the walk).

#include <stdexcept>
#include <string>

namespace seedlens {

class LoadError : public std::runtime_error {
public:
    explicit LoadError(const std::string& What) : std::runtime_error(What) {}
};

}  // namespace seedlens
