// Inside the platform layer on Windows: the one place where text crosses between UTF-16
// and UTF-8 (archivos_win32.cpp), one function each way.
#pragma once

#include <string>

namespace plataforma {

/// False for text that has no form in UTF-8: a lone surrogate.
bool convierte(const std::wstring& ancho, std::string& estrecho);

/// False for bytes that are not UTF-8.
bool convierte(const std::string& estrecho, std::wstring& ancho);

}  // namespace plataforma
