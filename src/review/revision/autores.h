// The authors named in info.txt, whatever editor wrote it.
#pragma once

#include <string>

/// The first three non-empty lines of info.txt (UTF-8, UTF-16 with a byte-order mark or
/// Windows-1252), trimmed, as UTF-8, joined by " / ".
std::string autores(const std::string& info);
