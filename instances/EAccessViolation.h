#pragma once
// A write that would end beyond the shared memory block: "共有メモリを逸脱した書き込み".
// Nothing was written; a caller bug, not a state of the system.

#include <stdexcept>
#include <string>

class EAccessViolation : public std::runtime_error {
public:
    explicit EAccessViolation(const std::string &message) : std::runtime_error(message) {}
};
