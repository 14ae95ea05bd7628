// Whether bytes are UTF-8: the names on disk and the texts of submissions must be.
#pragma once

#include <string>

namespace plataforma {

/// Well-formed UTF-8 as the standard defines it: no overlong forms, no surrogates,
/// nothing above U+10FFFF.
bool esUtf8(const std::string& texto);

/// `texto` with every byte that is not part of well-formed UTF-8 replaced by U+FFFD.
std::string conReemplazos(const std::string& texto);

}  // namespace plataforma
