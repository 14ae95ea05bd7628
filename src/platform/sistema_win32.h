// Inside the platform layer on Windows: what its files share. Text crosses between UTF-16
// and UTF-8 only through the `convierte` functions (archivos_win32.cpp): one each way, and
// one that never fails, for names that are only shown.
#pragma once

#include "archivos.h"

#include <memory>
#include <string>

namespace plataforma {

/// The system's text for a Win32 error code, in UTF-8, without its final full stop.
std::string razon(unsigned long error);

/// False for text that has no form in UTF-8: a lone surrogate.
bool convierte(const std::wstring& ancho, std::string& estrecho);

/// False for bytes that are not UTF-8.
bool convierte(const std::string& estrecho, std::wstring& ancho);

/// `ancho` in UTF-8 with every lone surrogate as U+FFFD: for showing, not for naming.
std::string convierteConReemplazos(const std::wstring& ancho);

struct CierraManejador {
  void operator()(void* manejador) const;
};
/// A Windows handle, closed when its owner goes.
using Manejador = std::unique_ptr<void, CierraManejador>;

/// CreateFileW of an existing `ruta` with the sharing of abreArchivo (reading, writing and
/// deleting), or the system's code of why it does not open; a name without a UTF-16 form
/// does not open.
Resultado<Manejador, unsigned long> abre(const std::string& ruta, unsigned long acceso,
                                         unsigned long opciones);
Resultado<Manejador, unsigned long> abre(const std::wstring& ruta, unsigned long acceso,
                                         unsigned long opciones);

enum class Modo { lectura, lecturaYEscritura };

/// Hands an open handle to the C runtime as a binary stream, which then owns it; when it
/// cannot, the handle is closed and the system's code says why.
Resultado<Archivo, unsigned long> comoArchivo(Manejador manejador, Modo modo);

}  // namespace plataforma
