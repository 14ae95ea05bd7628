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

Desenlace Comprobador::compruebaEntrega() {
  // A platform failure ends the run at once, in one error box.
  const auto falla = [](const plataforma::Fallo& fallo) {
    muestraError(fallo.texto());
    return Desenlace::fallido;
  };

  // A second run in this folder waits here for the first to end, and then sees the tree
  // as it is by then: the last run started writes the archive that stands.
  plataforma::Cerrojo cerrojo;
  if (plataforma::Resultado<void> tomado = cerrojo.toma(); !tomado) return falla(tomado.error());
  ArchivoZip::retiraResto(kEntregaZip);

  VistaDisco disco;
  Cajas cajas;
  plataforma::Resultado<void> hecho = escaneaProyecto(disco, entrega);
  if (!hecho) return falla(hecho.error());
  if (!hayProyecto(entrega, cajas)) return Desenlace::sinEntrega;
  hecho = escaneaSolucion(disco, entrega);
  if (hecho) hecho = buscaImagenes(disco, entrega);
  if (!hecho) return falla(hecho.error());
  const bool entregaCompleta = compruebaCompletitud(entrega, cajas);
  // Its findings inform the student; none of them keeps the archive from being written.
  hecho = compruebaProyecto(disco, cajas);
  if (!hecho) return falla(hecho.error());
  if (!entregaCompleta) return Desenlace::sinEntrega;

  const plataforma::Resultado<Desenlace> desenlace = empaquetaEntrega();
  return desenlace ? *desenlace : falla(desenlace.error());
}

plataforma::Resultado<void> Comprobador::compruebaProyecto(Vista& vista, Hallazgos& hallazgos) {
  return cruzaProyecto(vista, entrega, hallazgos);
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
    return static_cast<int>(Desenlace::fallido);
  } catch (const std::exception& excepcion) {
    // The last guard: whatever escaped the layers still ends in one box and status 2.
    try {
      muestraError(std::string("No se ha podido comprobar la entrega: ") + excepcion.what());
    } catch (...) {
      // As above.
    }
    return static_cast<int>(Desenlace::fallido);
  }
}
