// The box on Windows: a modal message box with no owner window. The manifest makes the
// active code page UTF-8, so the narrow texts are read as UTF-8.
#include "caja.h"

#include <windows.h>

void muestraCaja(TipoCaja tipo, const std::string& texto) {
  const UINT estilo = MB_OK | (tipo == TipoCaja::error ? MB_ICONERROR : MB_ICONWARNING);
  MessageBoxA(nullptr, texto.c_str(), kTitulo, estilo);
}
