// The run sequence: scans, checks, cross-check, and the archive when the go-ahead holds.
#include "comprobador.h"

#include "archivo_zip.h"
#include "cajas.h"
#include "cerrojo.h"
#include "completitud.h"
#include "disco.h"
#include "escaneo.h"
#include "mensajes.h"
#include "proceso.h"
#include "proyecto.h"

#include <exception>
#include <new>
#include <string>

Resultado Comprobador::compruebaEntrega() {
  plataforma::Fallo fallo;
  const auto falla = [&fallo] {
    muestraError(fallo.texto);
    return Resultado::fallido;
  };

  // A second run in this folder waits here for the first to end, and then sees the tree
  // as it is by then: the last run started writes the archive that stands.
  plataforma::Cerrojo cerrojo;
  if (!cerrojo.toma(fallo)) return falla();
  ArchivoZip::retiraResto(kEntregaZip);

  VistaDisco disco;
  Cajas cajas;
  if (!escaneaProyecto(disco, entrega, fallo)) return falla();
  if (!hayProyecto(entrega, cajas)) return Resultado::sinEntrega;
  if (!escaneaSolucion(disco, entrega, fallo)) return falla();
  if (!buscaImagenes(disco, entrega, fallo)) return falla();
  const bool entregaCompleta = veredicto(entrega, cajas);
  // Its findings inform the student; none of them keeps the archive from being written.
  if (!compruebaProyecto(disco, cajas, fallo)) return falla();
  if (!entregaCompleta) return Resultado::sinEntrega;

  const Resultado resultado = empaquetaEntrega(fallo);
  return resultado == Resultado::fallido ? falla() : resultado;
}

bool Comprobador::compruebaProyecto(Vista& vista, Hallazgos& hallazgos, plataforma::Fallo& fallo) {
  return cruzaProyecto(vista, entrega, hallazgos, fallo);
}

int ejecuta() {
  plataforma::preparaProceso();
  try {
    Comprobador comprobador;
    return static_cast<int>(comprobador.compruebaEntrega());
  } catch (const std::bad_alloc&) {
    try {
      muestraError("No hay memoria suficiente para comprobar la entrega");
    } catch (...) {
      // Not even the box could be built; the exit status still tells.
    }
    return static_cast<int>(Resultado::fallido);
  } catch (const std::exception& excepcion) {
    // The last guard: whatever escaped the layers still ends in one box and status 2.
    try {
      muestraError(std::string("No se ha podido comprobar la entrega: ") + excepcion.what());
    } catch (...) {
      // As above.
    }
    return static_cast<int>(Resultado::fallido);
  }
}
