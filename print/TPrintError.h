#pragma once
// A failed print job, already in the words the user reads: printing is part of the
// program's user interface (it draws its own page texts), so its failures carry their text
// like the platform's do, and the program shows what() as it is.
//
// Who throws: TPrintPages and TPrintRowSource. Who catches: the print command, through the
// program's usual message for an exception.

#include <stdexcept>
#include <string>

class TPrintError : public std::runtime_error {
public:
    explicit TPrintError(const std::string &message) : std::runtime_error(message) {}
};
