// The checker's view over the disk.
#include "disco.h"

#include "escaneo.h"
#include "proyecto.h"

bool VistaDisco::lista(const std::string& directorio, std::vector<std::string>& nombres,
                       plataforma::Fallo& fallo) {
  return plataforma::listaDirectorio(directorio, nombres, fallo);
}

bool VistaDisco::estado(const std::string& ruta, plataforma::Estado& estado,
                        plataforma::Fallo& fallo) {
  return plataforma::consultaEstado(ruta, estado, fallo);
}

std::string VistaDisco::une(const std::string& directorio, const std::string& nombre) const {
  return plataforma::une(directorio, nombre);
}

std::string VistaDisco::rutaDeProyecto(const std::string& valor) const {
  return plataforma::rutaDeProyecto(valor);
}

bool VistaDisco::cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) {
  const plataforma::Archivo archivo = plataforma::abreArchivo(ruta);
  return archivo && documento.LoadFile(archivo.get()) == tinyxml2::XML_SUCCESS;
}
