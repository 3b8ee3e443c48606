#pragma once
// The user's words for why a file in an exchange format could not be read or written
// (TVxFormatError): what is wrong, and on which line of the input.
//
// Who calls: the import and export commands, for their message boxes.

#include <QString>

class TVxFormatError;

class TFormatMessages {
public:
    static QString TextOf(const TVxFormatError &e);
};
