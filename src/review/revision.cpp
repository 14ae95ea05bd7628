// One submission reviewed from its entries alone, with the checker's own rules.
#include "revision.h"

#include "autores.h"
#include "clasificacion.h"
#include "completitud.h"
#include "escaneo.h"
#include "orden.h"
#include "procedencia.h"
#include "proyecto.h"
#include "vista_zip.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

// info.txt is read up to here: the authors are in its first lines.
constexpr std::size_t kLimiteInfo = 64 * 1024;
// How many names a finding that lists files shows before it only counts them.
constexpr std::size_t kNombresListados = 10;

/// The findings of one submission, each recorded with the full stop a box would add.
class Anotaciones : public Hallazgos {
 public:
  explicit Anotaciones(std::vector<std::string>& textos) : textos(textos) {}
  void error(const std::string& texto) override {
    textos.push_back(texto + ".");
    errores = true;
  }
  void aviso(const std::string& texto) override {
    textos.push_back(texto + ".");
    avisos = true;
  }
  bool errores = false, avisos = false;

 private:
  std::vector<std::string>& textos;
};

// Absolute, stepping out with "..", naming a drive or written with "\": never followed.
bool esInseguro(const std::string& nombre) {
  if (nombre.empty() || nombre[0] == '/' || nombre.find('\\') != std::string::npos) return true;
  if (nombre.size() >= 2 && nombre[1] == ':') return true;
  std::size_t inicio = 0;
  for (;;) {
    const std::size_t fin = nombre.find('/', inicio);
    const std::size_t largo = (fin == std::string::npos ? nombre.size() : fin) - inicio;
    if (largo == 2 && nombre.compare(inicio, 2, "..") == 0) return true;
    if (fin == std::string::npos) return false;
    inicio = fin + 1;
  }
}

std::string carpetaDe(const std::string& nombre) {
  const std::size_t barra = nombre.rfind('/');
  return barra == std::string::npos ? std::string() : nombre.substr(0, barra + 1);
}

std::string nombreDe(const std::string& carpeta) {
  if (carpeta.empty()) return {};
  const std::string sinBarra = carpeta.substr(0, carpeta.size() - 1);
  return sinBarra.substr(sinBarra.rfind('/') + 1);
}

std::string lista(const std::string& que, const std::vector<const Cabecera*>& archivos) {
  std::uint64_t bytes = 0;
  for (const Cabecera* c : archivos) bytes += c->info.uncompressed_size;
  std::string texto = que + " (" + std::to_string(archivos.size()) +
                      (archivos.size() == 1 ? " archivo, " : " archivos, ") +
                      std::to_string(bytes) + " bytes): ";
  for (std::size_t i = 0; i < archivos.size() && i < kNombresListados; ++i) {
    if (i > 0) texto += ", ";
    texto += archivos[i]->nombre;
  }
  if (archivos.size() > kNombresListados) {
    texto += " y " + std::to_string(archivos.size() - kNombresListados) + " más";
  }
  return texto;
}

// The declared sizes first, then every entry inflated: a submission that fails here is
// not reviewed further. Empty when it passes.
std::string compruebaIntegridad(LectorZip& lector, std::vector<unsigned long>& extras) {
  const std::vector<Cabecera>& cabeceras = lector.cabeceras();
  std::uint64_t declarado = 0;
  for (const Cabecera& c : cabeceras) {
    if (c.info.flag & 1) return "La entrada " + c.nombre + " está cifrada.";
    declarado += c.info.uncompressed_size;
    if (c.info.uncompressed_size > kLimiteTotal || declarado > kLimiteTotal) {
      return "Las entradas ocupan más de 1 GiB descomprimidas.";
    }
    if (c.info.uncompressed_size > kRazonBomba * c.info.compressed_size) {
      return "Posible bomba ZIP: la entrada " + c.nombre + " se descomprime a " +
             std::to_string(c.info.uncompressed_size) + " bytes, más de 200 veces los " +
             std::to_string(c.info.compressed_size) + " que ocupa comprimida.";
    }
  }
  // minizip stops every entry at its recorded size, so what inflates stays within what
  // was declared; counted again here all the same.
  std::uint64_t total = 0;
  extras.assign(cabeceras.size(), 0);
  for (std::size_t i = 0; i < cabeceras.size(); ++i) {
    std::uint64_t entrada = 0;
    const std::uint64_t maximo = kRazonBomba * cabeceras[i].info.compressed_size;
    std::string error;
    const bool bien = lector.inflaEntrada(
        i,
        [&](const char*, std::size_t n) {
          entrada += n;
          total += n;
          return entrada <= maximo && total <= kLimiteTotal;
        },
        extras[i], error);
    if (!bien) {
      if (!error.empty()) return error + ".";
      return total > kLimiteTotal ? "Las entradas ocupan más de 1 GiB descomprimidas."
                                  : "Posible bomba ZIP: la entrada " + cabeceras[i].nombre +
                                        " se descomprime a más de 200 veces lo que ocupa.";
    }
  }
  return {};
}

}  // namespace

const char* palabra(Veredicto veredicto) {
  switch (veredicto) {
    case Veredicto::correcta:
      return "correcta";
    case Veredicto::conAvisos:
      return "con avisos";
    case Veredicto::conErrores:
      return "con errores";
    case Veredicto::noRevisable:
      break;
  }
  return "no revisable";
}

Fila noRevisable(std::string entrega, std::string razon) {
  Fila fila;
  fila.entrega = std::move(entrega);
  fila.hallazgos.push_back(std::move(razon));
  return fila;
}

Fila revisaEntrega(LectorZip& lector, std::string entrega) {
  Fila fila;
  fila.entrega = std::move(entrega);
  std::string error;
  if (!lector.abre(kMaximoEntradas, error)) {
    fila.hallazgos.push_back(error + ".");
    return fila;
  }
  const std::vector<Cabecera>& cabeceras = lector.cabeceras();
  unsigned long masReciente = 0;
  for (const Cabecera& c : cabeceras) masReciente = std::max(masReciente, c.info.dosDate);
  if (!cabeceras.empty()) fila.fecha = fechaDos(masReciente);

  std::vector<unsigned long> extras;
  const std::string integridad = compruebaIntegridad(lector, extras);
  if (!integridad.empty()) {
    fila.hallazgos.push_back(integridad);
    return fila;
  }

  Anotaciones hallazgos(fila.hallazgos);
  // The files the checks may follow, and the folders holding a project file.
  std::vector<std::pair<std::string, std::size_t>> archivos;
  std::vector<std::string> carpetas;
  for (std::size_t i = 0; i < cabeceras.size(); ++i) {
    const std::string& nombre = cabeceras[i].nombre;
    if (esInseguro(nombre)) {
      hallazgos.error("La entrada " + nombre +
                      " tiene un nombre inseguro (absoluto, con .., con letra de unidad o con "
                      "\\), y no se ha seguido");
      continue;
    }
    if (nombre.back() == '/') continue;
    archivos.emplace_back(nombre, i);
    const std::size_t barra = nombre.rfind('/');
    if (extension(nombre.substr(barra == std::string::npos ? 0 : barra + 1)) == ".vcxproj" &&
        std::find(carpetas.begin(), carpetas.end(), carpetaDe(nombre)) == carpetas.end()) {
      carpetas.push_back(carpetaDe(nombre));
    }
  }
  // The shallowest project folder is the one reviewed; the first in archive order on a tie.
  std::string proyecto;
  if (!carpetas.empty()) {
    proyecto =
        *std::min_element(carpetas.begin(), carpetas.end(), [](const auto& a, const auto& b) {
          return std::count(a.begin(), a.end(), '/') < std::count(b.begin(), b.end(), '/');
        });
  }
  if (carpetas.size() > 1) {
    std::string texto = "Hay proyectos en varias carpetas: ";
    for (std::size_t i = 0; i < carpetas.size(); ++i) {
      texto += (i > 0 ? ", " : "") + (carpetas[i].empty() ? std::string("la raíz") : carpetas[i]);
    }
    hallazgos.aviso(texto + "; se revisa " + (proyecto.empty() ? "la raíz" : proyecto));
  }
  fila.proyecto = nombreDe(proyecto);

  VistaZip vista(lector, archivos, proyecto);
  Entrega e;
  plataforma::Fallo fallo;
  std::vector<std::string> esperadas;
  std::set<std::string> entregadas;
  bool completa = false;  // the checker's go-ahead: without it, it writes no archive at all
  // The view answers from memory and never fails; a failure would leave the checks short.
  bool revisada = escaneaProyecto(vista, e, fallo);
  if (revisada && hayProyecto(e, hallazgos)) {
    revisada = escaneaSolucion(vista, e, fallo) && buscaImagenes(vista, e, fallo);
    // An archive has no folder entries: an images folder without the student's own images
    // leaves no trace in it, so its absence tells nothing.
    e.hayImagenes = true;
    completa = veredicto(e, hallazgos);
    revisada = revisada && cruzaProyecto(vista, e, hallazgos, fallo);
    fila.fuentes = static_cast<int>(e.fuentes.size());
    fila.cabeceras = static_cast<int>(e.cabeceras.size());
    fila.imagenes = static_cast<int>(e.imagenes.size());
    recorreEntrega(e, [&](const std::string& ruta, const char* fijo) {
      if (ruta.empty()) return;
      const std::string nombre = vista.resuelve(ruta);
      entregadas.insert(nombre);
      esperadas.push_back(fijo != nullptr
                              ? std::string(fijo)
                              : nombre.substr(std::min(nombre.size(), vista.solucion().size())));
    });
    std::size_t i;
    std::string info;
    if (!e.info.empty() && vista.indice(e.info, i)) {
      unsigned long extra = 0;
      std::string error;
      lector.inflaEntrada(
          i,
          [&](const char* bloque, std::size_t n) {
            info.append(bloque, std::min(n, kLimiteInfo - info.size()));
            return info.size() < kLimiteInfo;
          },
          extra, error);
      fila.autores = autores(info);
    }
  } else {
    fila.fuentes = fila.cabeceras = fila.imagenes = 0;
  }
  if (!revisada) hallazgos.error(fallo.texto);

  std::vector<const Cabecera*> plantilla, sobrantes;
  const std::string imagenes = vista.solucion() + "images/";
  for (const auto& archivo : archivos) {
    if (entregadas.count(archivo.first) != 0) continue;
    const Cabecera* c = &cabeceras[archivo.second];
    const bool enImagenes = archivo.first.compare(0, imagenes.size(), imagenes) == 0 &&
                            archivo.first.find('/', imagenes.size()) == std::string::npos;
    (enImagenes && esImagenPlantilla(archivo.first.substr(imagenes.size())) ? plantilla : sobrantes)
        .push_back(c);
  }
  if (!plantilla.empty()) {
    hallazgos.aviso(lista("Imágenes de la plantilla, que el comprobador no entrega", plantilla));
  }
  if (!sobrantes.empty()) {
    hallazgos.aviso(lista("Archivos que el comprobador no entrega", sobrantes));
  }

  std::string diferencia = diferenciaConComprobador(lector, extras, esperadas);
  if (diferencia.empty() && !completa) {
    diferencia =
        "No lo ha empaquetado el comprobador: sin proyecto, solución e info.txt no escribe "
        "ningún archivo.";
  }
  fila.comprobador = diferencia.empty();
  if (fila.comprobador) {
    fila.fecha = fechaDos(cabeceras[0].info.dosDate);
  } else {
    hallazgos.aviso(diferencia.substr(0, diferencia.size() - 1));
  }
  fila.veredicto = hallazgos.errores  ? Veredicto::conErrores
                   : hallazgos.avisos ? Veredicto::conAvisos
                                      : Veredicto::correcta;
  return fila;
}
