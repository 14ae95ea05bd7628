// The element check of the project file cross-check.
#include "source_visitor.h"

#include "textos.h"

#include <cstring>

SourceVisitor::SourceVisitor(const Conjunto& fuentes, const Conjunto& cabeceras, Vista& vista,
                             Hallazgos& hallazgos)
    : fuentes(fuentes), cabeceras(cabeceras), vista(vista), hallazgos(hallazgos) {}

SourceVisitor::~SourceVisitor() = default;

bool SourceVisitor::VisitExit(const tinyxml2::XMLElement& elemento) {
  // The walk still leaves the enclosing elements after a refusal; they are not checked.
  if (fallo) return false;
  const char* nombre = elemento.Name();
  const char* include = elemento.Attribute("Include");
  if (nombre == nullptr || include == nullptr) return true;

  Conjunto* objetivo;
  const char *prefijo, *fuera, *noExiste;
  if (std::strcmp(nombre, "ClCompile") == 0) {
    objetivo = &fuentes;
    prefijo = textos::kArchivo;
    fuera = textos::kArchivoFuera;
    noExiste = textos::kArchivoNoExiste;
  } else if (std::strcmp(nombre, "ClInclude") == 0) {
    objetivo = &cabeceras;
    prefijo = textos::kCabecera;
    fuera = textos::kCabeceraFuera;
    noExiste = textos::kCabeceraNoExiste;
  } else {
    return true;
  }

  const std::string valor = include;
  if (objetivo->erase(valor) != 0) return true;

  plataforma::Resultado<plataforma::Estado> estado = vista.estado(vista.rutaDeProyecto(valor));
  if (!estado) {
    fallo = std::move(estado).error();
    return false;
  }
  hallazgos.error(prefijo + valor + (*estado == plataforma::Estado::archivo ? fuera : noExiste));
  return true;
}
