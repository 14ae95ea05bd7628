// The authors named in info.txt, whatever editor wrote it.
#pragma once

#include <string>

/// `bytes` as UTF-8: UTF-8 as it is (without its byte-order mark), UTF-16 with a
/// byte-order mark converted, anything else read as Windows-1252 (Notepad's "ANSI").
std::string aUtf8(const std::string& bytes);

/// The first three non-empty lines of info.txt, trimmed, joined by " / ".
std::string autores(const std::string& info);

/// Whether `texto` is well-formed UTF-8.
bool esUtf8(const std::string& texto);
