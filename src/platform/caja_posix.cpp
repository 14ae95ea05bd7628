// The box on systems without one: a line on standard error, written before the run goes on.
#include "caja.h"

#include <cstdio>

void muestraCaja(TipoCaja tipo, const std::string& texto) {
  std::string linea = kTitulo;
  linea += tipo == TipoCaja::error ? ": error: " : ": aviso: ";
  linea += texto;
  linea += '\n';
  std::fwrite(linea.data(), 1, linea.size(), stderr);
  std::fflush(stderr);
}
