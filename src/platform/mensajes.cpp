// Error and warning boxes: the full stop is always added, whatever the text ends in.
#include "mensajes.h"

#include "caja.h"

void muestraError(const std::string& texto) { muestraCaja(TipoCaja::error, texto + "."); }

void muestraAviso(const std::string& texto) { muestraCaja(TipoCaja::aviso, texto + "."); }
