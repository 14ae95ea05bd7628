// The cross-check of the project file: load, walk, then the unreferenced sources.
#include "proyecto.h"

#include "source_visitor.h"
#include "textos.h"

#include <tinyxml2.h>

plataforma::Resultado<void> cruzaProyecto(Vista& vista, const Entrega& entrega,
                                          Hallazgos& hallazgos) {
  tinyxml2::XMLDocument documento;
  if (!vista.cargaProyecto(entrega.proyecto, documento)) {
    hallazgos.error(textos::kProyectoIlegible);
    return {};
  }
  SourceVisitor visitante(entrega.fuentes, entrega.cabeceras, vista, hallazgos);
  documento.Accept(&visitante);
  if (visitante.fallo) return *visitante.fallo;
  // Headers the project does not name are no concern: they may be included only.
  for (const std::string& fuente : visitante.fuentes) {
    hallazgos.aviso(textos::kSinReferencia + fuente);
  }
  return {};
}
