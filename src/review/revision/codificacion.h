// Text that submissions hold, whatever editor wrote it, turned into UTF-8.
#pragma once

#include <string>

/// `bytes` as UTF-8: UTF-8 as it is (without its byte-order mark), UTF-16 with a
/// byte-order mark converted, anything else read as Windows-1252 (Notepad's "ANSI").
std::string aUtf8(const std::string& bytes);
