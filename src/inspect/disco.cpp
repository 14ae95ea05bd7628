// The checker's view over the disk.
#include "disco.h"

#include "escaneo.h"
#include "proyecto.h"

plataforma::Resultado<std::vector<std::string>> VistaDisco::lista(const std::string& directorio) {
  return plataforma::listaDirectorio(directorio);
}

plataforma::Resultado<plataforma::Estado> VistaDisco::estado(const std::string& ruta) {
  return plataforma::consultaEstado(ruta);
}

std::string VistaDisco::une(const std::string& directorio, const std::string& nombre) const {
  return plataforma::une(directorio, nombre);
}

std::string VistaDisco::rutaDeProyecto(const std::string& valor) const {
  return plataforma::rutaDeProyecto(valor);
}

bool VistaDisco::cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) {
  const plataforma::Resultado<plataforma::Archivo> archivo = plataforma::abreArchivo(ruta);
  return archivo && documento.LoadFile(archivo->get()) == tinyxml2::XML_SUCCESS;
}
