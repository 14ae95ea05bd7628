// Text encodings met in submissions, all turned into UTF-8.
#pragma once

#include <string>

/// `bytes` as UTF-8: UTF-8 as it is (without its byte-order mark), UTF-16 with a
/// byte-order mark converted, anything else read as Windows-1252 (Notepad's "ANSI").
std::string aUtf8(const std::string& bytes);

/// An entry name as UTF-8: as it is when it is UTF-8 already, otherwise read as code page
/// 437, the format's own, whatever its UTF-8 flag says.
std::string nombreDeEntrada(const std::string& bytes);
