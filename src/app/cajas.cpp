// The checker's findings, in boxes.
#include "cajas.h"

#include "mensajes.h"

void Cajas::error(const std::string& texto) { muestraError(texto); }

void Cajas::aviso(const std::string& texto) { muestraAviso(texto); }
