// The cross-check of the project file: load, walk, then the unreferenced sources.
#include "proyecto.h"

#include "mensajes.h"
#include "source_visitor.h"
#include "textos.h"

#include <tinyxml2.h>

bool cruzaProyecto(const Entrega& entrega, plataforma::Fallo& fallo) {
  tinyxml2::XMLDocument documento;
  const plataforma::Archivo archivo = plataforma::abreArchivo(entrega.proyecto);
  if (!archivo || documento.LoadFile(archivo.get()) != tinyxml2::XML_SUCCESS) {
    muestraError(textos::kProyectoIlegible);
    return true;
  }
  SourceVisitor visitante(entrega.fuentes, entrega.cabeceras);
  documento.Accept(&visitante);
  if (visitante.fallo) {
    fallo = *visitante.fallo;
    return false;
  }
  // Headers the project does not name are no concern: they may be included only.
  for (const std::string& fuente : visitante.fuentes) {
    muestraAviso(textos::kSinReferencia + fuente);
  }
  return true;
}
