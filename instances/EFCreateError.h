#pragma once
// A named system object (the shared memory block) could not be created or opened. The
// message is the user's: "共有メモリ[" + name + "]を開けません". Raised to whoever creates
// the object; the editor then has no shared search text.

#include <stdexcept>
#include <string>

class EFCreateError : public std::runtime_error {
public:
    explicit EFCreateError(const std::string &message) : std::runtime_error(message) {}
};
