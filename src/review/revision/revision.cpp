// One submission reviewed from its entries alone, with the checker's own rules.
#include "revision.h"

#include "autores.h"
#include "clasificacion.h"
#include "codificacion.h"
#include "completitud.h"
#include "escaneo.h"
#include "huella_comprobador.h"
#include "integridad.h"
#include "nombres_zip.h"
#include "orden.h"
#include "proyecto.h"
#include "redaccion.h"
#include "vista_zip.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <utility>

namespace {

// info.txt is read up to here: the authors are in its first lines.
constexpr std::size_t kLimiteInfo = 64 * 1024;

/// The findings of one submission, as the checks make them.
class Anotaciones : public Hallazgos {
 public:
  explicit Anotaciones(std::vector<std::string>& textos) : textos(textos) {}
  void error(const std::string& texto) override {
    textos.push_back(texto);
    errores = true;
  }
  void aviso(const std::string& texto) override {
    textos.push_back(texto);
    avisos = true;
  }
  bool errores = false, avisos = false;

 private:
  std::vector<std::string>& textos;
};

/// The entries the checks may follow, and the folders that hold a project file.
struct Nombres {
  std::vector<std::pair<std::string, std::size_t>> archivos;  // name and index, archive order
  std::vector<std::string> carpetas;                          // in archive order, once each
};

Nombres clasificaNombres(const std::vector<Registro>& registros, Hallazgos& hallazgos) {
  Nombres nombres;
  std::set<std::string> vistas;
  for (std::size_t i = 0; i < registros.size(); ++i) {
    const Registro& r = registros[i];
    if (r.malMarcado) {
      hallazgos.aviso("El nombre de la entrada " + r.nombre +
                      " está marcado como UTF-8 pero no lo es; se ha leído como CP437");
    }
    if (!esNombreSeguro(r.nombre)) {
      hallazgos.error("La entrada " + r.nombre +
                      " tiene un nombre inseguro (absoluto, con .., con letra de unidad o con "
                      "\\), y no se ha seguido");
      continue;
    }
    if (r.esCarpeta()) continue;
    nombres.archivos.emplace_back(r.nombre, i);
    const std::string carpeta = carpetaDeEntrada(r.nombre);
    if (extension(ultimoDeEntrada(r.nombre)) == ".vcxproj" && vistas.insert(carpeta).second) {
      nombres.carpetas.push_back(carpeta);
    }
  }
  return nombres;
}

std::string comoCarpeta(const std::string& carpeta) {
  return carpeta.empty() ? std::string("la raíz") : carpeta;
}

// The shallowest project folder is the one reviewed; the first in archive order on a tie.
std::string eligeProyecto(const std::vector<std::string>& carpetas, Hallazgos& hallazgos) {
  if (carpetas.empty()) return {};
  const std::string proyecto =
      *std::min_element(carpetas.begin(), carpetas.end(), [](const auto& a, const auto& b) {
        return std::count(a.begin(), a.end(), '/') < std::count(b.begin(), b.end(), '/');
      });
  if (carpetas.size() > 1) {
    std::string texto = "Hay proyectos en varias carpetas: ";
    for (std::size_t i = 0; i < carpetas.size(); ++i) {
      texto += (i > 0 ? ", " : "") + comoCarpeta(carpetas[i]);
    }
    hallazgos.aviso(texto + "; se revisa " + comoCarpeta(proyecto));
  }
  return proyecto;
}

/// What the checker's own rules make of the entries.
struct Reglas {
  Entrega entrega;
  bool completa = false;               // the checker's go-ahead: without it, no archive at all
  std::vector<std::string> esperadas;  // the entries the checker would write, in its order
  std::set<std::string> entregadas;    // the entry names those come from
};

Reglas aplicaReglas(VistaZip& vista, const std::string& proyecto, Hallazgos& hallazgos,
                    Revision& revision) {
  Reglas reglas;
  Entrega& e = reglas.entrega;
  // The view answers from memory and never fails; a failure would leave the checks short.
  plataforma::Resultado<void> revisada = escaneaProyecto(vista, e);
  if (revisada && hayProyecto(e, hallazgos)) {
    revisada = escaneaSolucion(vista, e);
    if (revisada) revisada = buscaImagenes(vista, e);
    reglas.completa = compruebaCompletitud(e, hallazgos);
    if (revisada) revisada = cruzaProyecto(vista, e, hallazgos);
    revision.fuentes = static_cast<int>(e.fuentes.size());
    revision.cabeceras = static_cast<int>(e.cabeceras.size());
    revision.imagenes = static_cast<int>(e.imagenes.size());
    recorreEntrega(e, [&](const std::string& ruta, const char* fijo) {
      if (ruta.empty()) return;
      reglas.entregadas.insert(vista.resuelve(ruta));
      // The name comprobador's own rule gives the file it would find there.
      reglas.esperadas.push_back(fijo != nullptr ? std::string(fijo)
                                                 : nombrePorSitio(ruta, proyecto, "/"));
    });
  } else {
    revision.fuentes = revision.cabeceras = revision.imagenes = 0;
  }
  if (!revisada) hallazgos.error(revisada.error().texto());
  return reglas;
}

// The first lines of info.txt, however long the file.
std::string leeAutores(const LectorZip& lector, Inflador& inflador, const VistaZip& vista,
                       const Entrega& e) {
  const std::optional<std::size_t> i = e.info.empty() ? std::nullopt : vista.indice(e.info);
  if (!i) return {};
  std::string info;
  // Whole and sound: the integrity check has inflated every entry already.
  (void)lector.infla(*i, inflador, [&](const char* bloque, std::size_t n) {
    info.append(bloque, std::min(n, kLimiteInfo - info.size()));
    return info.size() < kLimiteInfo;
  });
  return autores(info);
}

// The text of entry `i`, decoded as info.txt is; nothing when it is too large to be anyone's
// writing.
plataforma::Resultado<std::optional<std::string>, DanoZip> leeTexto(const LectorZip& lector,
                                                                    Inflador& inflador,
                                                                    std::size_t i) {
  auto bytes = lector.lee(i, inflador, kLimiteFuente);
  if (!bytes) return std::move(bytes).error();
  if (!*bytes) return std::optional<std::string>();
  return std::optional<std::string>(aUtf8(**bytes));
}

/// The bytes of the entries that may be code, kept as the integrity check inflates them.
using Guardados = std::unordered_map<std::size_t, std::string>;

// Whether entry `r` may be a source or header the checker delivers: its extensions, exactly.
bool puedeSerCodigo(const Registro& r) {
  return r.descomprimido <= kLimiteFuente && (esFuente(r.nombre) || esCabecera(r.nombre));
}

// The sources and headers the checker would deliver, where they are, with their texts when
// asked for: those the integrity check kept, or else inflated now.
void leeCodigo(const LectorZip& lector, Inflador& inflador, const VistaZip& vista, const Entrega& e,
               Revision& revision, bool conTextos, Guardados& guardados) {
  for (const Conjunto* rutas : {&e.fuentes, &e.cabeceras}) {
    for (const std::string& ruta : *rutas) {
      const std::optional<std::size_t> i = vista.indice(ruta);
      if (!i || lector.registros()[*i].descomprimido > kLimiteFuente) continue;
      ArchivoFuente archivo{nombrePorSitio(ruta, revision.proyecto, "/"), {}};
      if (conTextos) {
        const auto guardado = guardados.find(*i);
        if (guardado != guardados.end()) {
          archivo.texto = aUtf8(std::move(guardado->second));
        } else {
          auto texto = leeTexto(lector, inflador, *i);
          if (!texto || !*texto) continue;
          archivo.texto = std::move(**texto);
        }
      }
      revision.codigo.push_back(std::move(archivo));
      revision.entradasDeCodigo.push_back(*i);
    }
  }
}

std::string lista(const std::string& que, const std::vector<const Registro*>& archivos) {
  std::uint64_t bytes = 0;
  std::vector<std::string> nombres;
  for (const Registro* r : archivos) {
    bytes += r->descomprimido;
    nombres.push_back(r->nombre);
  }
  return que + " (" + std::to_string(archivos.size()) +
         (archivos.size() == 1 ? " archivo, " : " archivos, ") + std::to_string(bytes) +
         " bytes): " + enumera(nombres);
}

// The template's images and everything else the checker would leave out.
void listaSobrantes(const LectorZip& lector, const Nombres& nombres, const VistaZip& vista,
                    const Reglas& reglas, Hallazgos& hallazgos) {
  std::vector<const Registro*> plantilla, sobrantes;
  const std::string imagenes = vista.solucion() + "images/";
  for (const auto& archivo : nombres.archivos) {
    if (reglas.entregadas.count(archivo.first) != 0) continue;
    const bool enImagenes = carpetaDeEntrada(archivo.first) == imagenes;
    (enImagenes && esImagenPlantilla(ultimoDeEntrada(archivo.first)) ? plantilla : sobrantes)
        .push_back(&lector.registros()[archivo.second]);
  }
  if (!plantilla.empty()) {
    hallazgos.aviso(lista("Imágenes de la plantilla, que el comprobador no entrega", plantilla));
  }
  if (!sobrantes.empty()) {
    hallazgos.aviso(lista("Archivos que el comprobador no entrega", sobrantes));
  }
}

}  // namespace

Revision noRevisable(std::string razon) {
  Revision revision;
  revision.hallazgos.push_back(std::move(razon));
  return revision;
}

plataforma::Resultado<std::vector<std::string>, DanoZip> leeTextos(
    std::shared_ptr<Origen> origen, const std::vector<std::size_t>& entradas) {
  plataforma::Resultado<LectorZip, DanoZip> lector =
      LectorZip::abre(std::move(origen), kMaximoEntradas);
  if (!lector) return std::move(lector).error();
  Inflador inflador;
  std::vector<std::string> textos;
  for (const std::size_t i : entradas) {
    if (i >= lector->registros().size()) return DanoZip(Dano::directorioIlegible);
    auto texto = leeTexto(*lector, inflador, i);
    if (!texto) return std::move(texto).error();
    textos.push_back(texto->value_or(std::string()));
  }
  return textos;
}

Revision revisaEntrega(std::shared_ptr<Origen> origen, bool conTextos) {
  Revision revision;
  plataforma::Resultado<LectorZip, DanoZip> abierto =
      LectorZip::abre(std::move(origen), kMaximoEntradas);
  const std::string archivo = "El archivo ZIP";
  if (!abierto) return noRevisable(redactaDano(abierto.error(), archivo));
  const LectorZip& lector = *abierto;
  const std::vector<Registro>& registros = lector.registros();
  unsigned long masReciente = 0;
  for (const Registro& r : registros) masReciente = std::max(masReciente, r.fechaDos);
  if (!registros.empty()) revision.fecha = fechaDos(masReciente);

  Guardados guardados;
  Inflador inflador;
  plataforma::Resultado<std::vector<unsigned>, DanoZip> extras =
      compruebaIntegridad(lector, inflador, [&](std::size_t i) -> std::string* {
        return conTextos && puedeSerCodigo(registros[i]) ? &guardados[i] : nullptr;
      });
  if (!extras) {
    revision.hallazgos.push_back(redactaDano(extras.error(), archivo));
    return revision;
  }

  Anotaciones hallazgos(revision.hallazgos);
  const Nombres nombres = clasificaNombres(registros, hallazgos);
  const std::string proyecto = eligeProyecto(nombres.carpetas, hallazgos);
  revision.proyecto = ultimoDeEntrada(proyecto);
  VistaZip vista(lector, inflador, nombres.archivos, proyecto);
  const Reglas reglas = aplicaReglas(vista, revision.proyecto, hallazgos, revision);
  revision.autores = leeAutores(lector, inflador, vista, reglas.entrega);
  leeCodigo(lector, inflador, vista, reglas.entrega, revision, conTextos, guardados);
  listaSobrantes(lector, nombres, vista, reglas, hallazgos);

  revision.entregados = reglas.esperadas;
  std::optional<std::string> diferencia =
      diferenciaConComprobador(lector, *extras, reglas.esperadas);
  if (!diferencia && !reglas.completa) {
    diferencia =
        "No lo ha empaquetado el comprobador: sin proyecto, solución e info.txt no escribe "
        "ningún archivo";
  }
  revision.comprobador = !diferencia;
  if (revision.comprobador) {
    revision.fecha = fechaDos(registros[0].fechaDos);
  } else {
    hallazgos.aviso(*diferencia);
  }
  revision.veredicto = hallazgos.errores  ? Veredicto::conErrores
                       : hallazgos.avisos ? Veredicto::conAvisos
                                          : Veredicto::correcta;
  return revision;
}
