#include "TFontNames.h"

// Fontconfig already maps names it does not know to a monospace or Japanese face.
std::vector<std::string> TFontNames::Substitutes(const std::string &) { return {}; }
