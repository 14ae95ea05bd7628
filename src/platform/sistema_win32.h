// Inside the platform layer on Windows: what its files share. Text crosses between UTF-16
// and UTF-8 only through the `convierte` pair (archivos_win32.cpp), one function each way.
#pragma once

#include <string>

namespace plataforma {

/// The system's text for a Win32 error code, in UTF-8, without its final full stop.
std::string razon(unsigned long error);

/// False for text that has no form in UTF-8: a lone surrogate.
bool convierte(const std::wstring& ancho, std::string& estrecho);

/// False for bytes that are not UTF-8.
bool convierte(const std::string& estrecho, std::wstring& ancho);

}  // namespace plataforma
