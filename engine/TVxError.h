#pragma once
// The program's own error: a message for the user, already in the words to show.
// System failures travel as std::system_error instead, carrying errno and the path.

#include <stdexcept>
#include <string>

class TVxError : public std::runtime_error {
public:
    explicit TVxError(const std::string &message) : std::runtime_error(message) {}
};
