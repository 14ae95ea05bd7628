// Reading the template from a folder or an archive.
#include "plantilla.h"

#include "clasificacion.h"
#include "codificacion.h"
#include "integridad.h"
#include "nombres_zip.h"
#include "piezas.h"
#include "revision.h"

#include <algorithm>

namespace {

bool esCodigo(const std::string& nombre) {
  const std::string ext = pliega(extension(nombre));
  for (const char* de : {".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".hxx"}) {
    if (ext == de) return true;
  }
  return false;
}

plataforma::Fallo falla(const std::string& ruta, const std::string& razon) {
  return plataforma::Fallo{"No se ha podido leer la plantilla", ruta, razon,
                           plataforma::Alcance::todo};
}

plataforma::Resultado<std::vector<ArchivoFuente>> deArchivo(const std::string& ruta) {
  plataforma::Resultado<std::unique_ptr<Origen>> origen = OrigenArchivo::abre(ruta);
  if (!origen) return falla(ruta, origen.error().razon);
  plataforma::Resultado<LectorZip, DanoZip> lector =
      LectorZip::abre(std::move(*origen), kMaximoEntradas);
  if (!lector) return falla(ruta, "no es un .zip que se pueda leer");
  std::vector<ArchivoFuente> codigo;
  Inflador inflador;
  const std::vector<Registro>& registros = lector->registros();
  for (std::size_t i = 0; i < registros.size(); ++i) {
    const Registro& r = registros[i];
    if (r.esCarpeta() || !esNombreSeguro(r.nombre) || !esCodigo(r.nombre)) continue;
    auto bytes = lector->lee(i, inflador, kLimiteFuente);
    if (!bytes) return falla(ruta, "la entrada " + r.nombre + " está dañada");
    if (*bytes) codigo.push_back({r.nombre, aUtf8(**bytes)});
  }
  return codigo;
}

plataforma::Resultado<std::vector<ArchivoFuente>> deCarpeta(const std::string& ruta) {
  plataforma::Resultado<std::vector<Pieza>> piezas = recorre(ruta);
  if (!piezas) return falla(ruta, piezas.error().texto());
  std::vector<ArchivoFuente> codigo;
  for (const Pieza& pieza : *piezas) {
    const EnDisco* disco = std::get_if<EnDisco>(&pieza.lugar);
    if (disco == nullptr || !esCodigo(pieza.nombre)) continue;
    plataforma::Resultado<std::unique_ptr<Origen>> origen = OrigenArchivo::abre(disco->ruta);
    if (!origen) return falla(ruta, origen.error().texto());
    if ((*origen)->tamano() > kLimiteFuente) continue;
    std::string bytes(static_cast<std::size_t>((*origen)->tamano()), '\0');
    plataforma::Resultado<bool> leido = leeTodo(**origen, 0, bytes.data(), bytes.size());
    if (!leido) return falla(disco->ruta, leido.error().razon);
    codigo.push_back({pieza.nombre, aUtf8(bytes)});
  }
  std::sort(codigo.begin(), codigo.end(),
            [](const ArchivoFuente& a, const ArchivoFuente& b) { return a.nombre < b.nombre; });
  return codigo;
}

}  // namespace

plataforma::Resultado<std::vector<ArchivoFuente>> leePlantilla(const std::string& ruta) {
  plataforma::Resultado<plataforma::Estado> estado = plataforma::consultaEstado(ruta);
  if (!estado) return falla(ruta, estado.error().razon);
  switch (*estado) {
    case plataforma::Estado::directorio:
      return deCarpeta(ruta);
    case plataforma::Estado::archivo:
      return deArchivo(ruta);
    case plataforma::Estado::ausente:
      return falla(ruta, "no existe");
    case plataforma::Estado::otro:
      break;
  }
  return falla(ruta, "no es un archivo ni una carpeta");
}
