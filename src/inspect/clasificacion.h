// Name rules shared by the scans: extensions and ASCII case folding.
#pragma once

#include <string>

/// From the last "." of `nombre` to its end; empty when there is none, or when the only
/// "." is the first character.
std::string extension(const std::string& nombre);

/// Whether `nombre` is a source (.cc, .cpp) or a header (.h, .hh, .hpp) the checker delivers:
/// its extension, exactly.
bool esFuente(const std::string& nombre);
bool esCabecera(const std::string& nombre);

/// `texto` with A-Z replaced by a-z; every other byte, UTF-8 ones included, unchanged.
std::string pliega(std::string texto);
