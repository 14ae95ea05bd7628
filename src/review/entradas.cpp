// Finding the submissions of each input, and reading each one for its review.
#include "entradas.h"

#include "archivos.h"
#include "clasificacion.h"
#include "integridad.h"
#include "nombres_zip.h"
#include "recorrido.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace {

// A submission inside a campus archive is inflated into memory up to this size, and into a
// nameless temporary file beyond it: memory stays bounded however many workers there are.
constexpr std::uint64_t kEnMemoria = 2 * 1024 * 1024;
// How many names a finding that lists files shows before it only counts them.
constexpr std::size_t kNombresListados = 10;

bool esZip(const std::string& nombre) { return pliega(extension(nombre)) == ".zip"; }

/// One thing found in an input: a file or folder below a folder, or an entry of a campus
/// archive.
struct Pieza {
  std::string nombre;    // relative to the input, "/" between components
  std::string ruta;      // on disk: the file, or the campus archive that holds it
  bool anidada = false;  // an entry of the campus archive `ruta`
  Registro registro;     // that entry's record
  bool carpeta = false;
  std::string problema;  // why it cannot be read, as a finding
};

// Every folder once, by its identity, links to folders never followed: a loop of links or
// a folder mounted twice ends like any other tree. A .zip reached twice is one.
bool recorre(const std::string& raiz, std::vector<Pieza>& piezas, std::string& error) {
  struct Pendiente {
    std::string ruta, relativa;
  };
  std::set<plataforma::Identidad> carpetas, zips;
  std::vector<Pendiente> pendientes;
  plataforma::Identidad identidad;
  plataforma::Fallo fallo;
  if (plataforma::identidadDe(raiz, identidad, fallo)) carpetas.insert(identidad);
  pendientes.push_back({raiz, ""});
  while (!pendientes.empty()) {
    const Pendiente carpeta = std::move(pendientes.back());
    pendientes.pop_back();
    std::vector<plataforma::Elemento> elementos;
    if (!plataforma::listaElementos(carpeta.ruta, elementos, fallo)) {
      if (carpeta.relativa.empty()) {
        error = fallo.texto;
        return false;
      }
      Pieza pieza;
      pieza.nombre = carpeta.relativa;
      pieza.ruta = carpeta.ruta;
      pieza.carpeta = true;
      pieza.problema = fallo.texto + ".";
      piezas.push_back(std::move(pieza));
      continue;
    }
    std::vector<Pendiente> dentro;
    for (const plataforma::Elemento& e : elementos) {
      Pieza pieza;
      pieza.nombre = carpeta.relativa.empty() ? e.nombre : carpeta.relativa + "/" + e.nombre;
      pieza.ruta = plataforma::une(carpeta.ruta, e.nombre);
      pieza.carpeta = e.clase == plataforma::Clase::directorio;
      const bool zip = e.clase == plataforma::Clase::archivo && esZip(e.nombre);
      if (e.clase == plataforma::Clase::otro && esZip(e.nombre)) {
        // Named as a submission, yet nothing that can be read: said, not passed over.
        pieza.problema = "No es un archivo: es un enlace roto, un dispositivo o una tubería.";
        piezas.push_back(std::move(pieza));
        continue;
      }
      if (e.clase != plataforma::Clase::archivo && !pieza.carpeta) continue;
      if (!e.utf8) {
        // Shown, with U+FFFD where it has no UTF-8 form, but never opened by that name.
        if (pieza.carpeta || zip) {
          pieza.problema = std::string(zip ? "El nombre del archivo" : "El nombre de la carpeta") +
                           " no es UTF-8 y no se puede abrir por él.";
        }
      } else if (pieza.carpeta || zip) {
        if (!plataforma::identidadDe(pieza.ruta, identidad, fallo)) {
          pieza.problema = fallo.texto + ".";
        } else if (!(pieza.carpeta ? carpetas : zips).insert(identidad).second) {
          continue;
        } else if (pieza.carpeta) {
          dentro.push_back({pieza.ruta, pieza.nombre});
        }
      }
      piezas.push_back(std::move(pieza));
    }
    // In name order: the first path to a file reached twice is the one reported.
    pendientes.insert(pendientes.end(), dentro.rbegin(), dentro.rend());
  }
  return true;
}

std::string lista(const std::vector<std::string>& nombres) {
  std::string texto;
  for (std::size_t i = 0; i < nombres.size() && i < kNombresListados; ++i) {
    texto += (i > 0 ? ", " : "") + nombres[i];
  }
  if (nombres.size() > kNombresListados) {
    texto += " y " + std::to_string(nombres.size() - kNombresListados) + " más";
  }
  return texto;
}

/// What one participant handed in, in name order.
struct Grupo {
  Participante participante;
  std::vector<const Pieza*> zips, otros;  // .zip files; any other file, and what cannot be read
  std::vector<std::string> propiosZip, propiosOtros;  // their own paths, for the findings
  bool textoEnLinea = false;
  const Pieza* primera = nullptr;  // the row's name when there is no .zip
};

Trabajo trabajoDe(const Pieza& pieza) {
  Trabajo trabajo;
  trabajo.entrega = pieza.nombre;
  trabajo.ruta = pieza.ruta;
  trabajo.anidada = pieza.anidada;
  trabajo.registro = pieza.registro;
  trabajo.problema = pieza.problema;
  return trabajo;
}

// One row per participant: their entrega.zip (any letter case) or else their first .zip,
// with findings on everything else they handed in.
Trabajo trabajoDe(const Grupo& g) {
  std::size_t elegido = 0;
  for (std::size_t i = 0; i < g.zips.size(); ++i) {
    // By the participant's own name: in the flat form the campus's prefix comes before it.
    if (pliega(ultimoDeEntrada(g.propiosZip[i])) == "entrega.zip") {
      elegido = i;
      break;
    }
  }
  std::vector<std::string> otros = g.propiosOtros;
  if (g.textoEnLinea) otros.push_back("texto en línea");
  if (g.zips.empty()) {
    Trabajo trabajo = trabajoDe(*g.primera);
    trabajo.anidada = false;
    trabajo.problema = g.propiosOtros.empty() && g.textoEnLinea
                           ? "No ha entregado ningún .zip; solo ha escrito texto en línea."
                       : otros.empty()
                           ? "No ha entregado ningún archivo."
                           : "No ha entregado ningún .zip; ha entregado: " + lista(otros) + ".";
    trabajo.participante = g.participante;
    return trabajo;
  }
  Trabajo trabajo = trabajoDe(*g.zips[elegido]);
  trabajo.participante = g.participante;
  if (g.zips.size() > 1) {
    std::vector<std::string> resto = g.propiosZip;
    resto.erase(resto.begin() + static_cast<std::ptrdiff_t>(elegido));
    trabajo.previos.push_back("Ha entregado " + std::to_string(g.zips.size()) +
                              " archivos .zip: se revisa " + g.propiosZip[elegido] +
                              "; los demás no se revisan: " + lista(resto) + ".");
  }
  if (!otros.empty()) {
    trabajo.previos.push_back("Además del .zip ha entregado: " + lista(otros) + ".");
  }
  return trabajo;
}

// The rows of one input: the participants the campus's names give, and every other .zip.
void agrupa(const std::vector<Pieza>& piezas, std::vector<Trabajo>& trabajos) {
  std::vector<Pieza const*> orden;
  for (const Pieza& p : piezas) orden.push_back(&p);
  std::sort(orden.begin(), orden.end(),
            [](const Pieza* a, const Pieza* b) { return a->nombre < b->nombre; });
  std::map<std::pair<std::string, std::string>, Grupo> grupos;
  for (const Pieza* pieza : orden) {
    Procedencia de;
    if (!procedenciaDe(pieza->nombre, de)) {
      if (!pieza->problema.empty() || (!pieza->carpeta && esZip(pieza->nombre))) {
        trabajos.push_back(trabajoDe(*pieza));
      }
      continue;
    }
    Grupo& g = grupos[{de.participante.numero, de.participante.nombre}];
    if (g.primera == nullptr) g.participante = de.participante;
    // The row of one who handed no .zip in is named after their first file, or else their
    // folder.
    if (g.primera == nullptr || (g.primera->carpeta && !pieza->carpeta)) g.primera = pieza;
    const std::string propia = de.propia.empty() ? pieza->nombre : de.propia;
    if (!pieza->carpeta && esZip(pieza->nombre)) {
      g.zips.push_back(pieza);
      g.propiosZip.push_back(propia);
    } else if (de.textoEnLinea && !pieza->carpeta) {
      g.textoEnLinea = true;
    } else if (!pieza->problema.empty()) {
      g.propiosOtros.push_back(propia + " (" +
                               pieza->problema.substr(0, pieza->problema.size() - 1) + ")");
    } else if (!pieza->carpeta) {
      g.propiosOtros.push_back(propia);
    }
  }
  for (const auto& grupo : grupos) trabajos.push_back(trabajoDe(grupo.second));
}

}  // namespace

bool buscaEntregas(const std::string& entrada, std::vector<Trabajo>& trabajos, std::string& error) {
  plataforma::Estado estado;
  plataforma::Fallo fallo;
  if (!plataforma::consultaEstado(entrada, estado, fallo)) {
    error = fallo.texto;
    return false;
  }
  std::vector<Pieza> piezas;
  if (estado == plataforma::Estado::directorio) {
    if (!recorre(entrada, piezas, error)) return false;
    agrupa(piezas, trabajos);
    return true;
  }
  auto origen = std::make_unique<OrigenArchivo>();
  unsigned long codigo = 0;
  if (estado == plataforma::Estado::ausente || !origen->abre(entrada, &codigo)) {
    error = "No se ha podido leer la entrada " + entrada;
    if (estado == plataforma::Estado::ausente) {
      error += ": no existe";
    } else if (estado != plataforma::Estado::archivo) {
      error += ": no es un archivo ni una carpeta";
    } else if (codigo != 0) {
      error += ": " + plataforma::razonDe(codigo);
    }
    return false;
  }
  // A campus archive holds submissions, or names participants, and holds no project;
  // anything else is one submission, which its review then judges. Its directory is read
  // here once, for all of them.
  LectorZip lector(std::move(origen));
  std::string razon;
  bool campus = false;
  // Records that share their bytes would make one submission cost as many reviews as it
  // is named: such an archive is one submission, whose review says so.
  if (lector.abre(kMaximoEntradas, razon) && compruebaSolapes(lector.registros()).empty()) {
    Procedencia de;
    for (const Registro& r : lector.registros()) {
      if (extension(r.nombre) == ".vcxproj") {
        campus = false;
        break;
      }
      campus = campus || (!r.esCarpeta() && esZip(r.nombre)) || procedenciaDe(r.nombre, de);
      Pieza pieza;
      pieza.nombre = r.esCarpeta() ? r.nombre.substr(0, r.nombre.size() - 1) : r.nombre;
      pieza.ruta = entrada;
      pieza.anidada = true;
      pieza.registro = r;
      pieza.carpeta = r.esCarpeta();
      piezas.push_back(std::move(pieza));
    }
  }
  if (campus) {
    agrupa(piezas, trabajos);
  } else {
    Trabajo trabajo;
    trabajo.entrega = plataforma::ultimoComponente(entrada);
    trabajo.ruta = entrada;
    trabajos.push_back(std::move(trabajo));
  }
  return true;
}

namespace {

// The bytes of a submission inside the campus archive, checked as any entry is: in memory
// when small, otherwise in a temporary file that the system removes whatever happens.
std::unique_ptr<Origen> extrae(Origen& campus, const Trabajo& trabajo, std::string& error) {
  const Registro& r = trabajo.registro;
  std::uint64_t total = 0;
  error = compruebaLimites(r, total);
  if (!error.empty()) return nullptr;
  Inflador inflador;
  unsigned extra = 0;
  const std::string archivo = "El archivo del campus";
  if (r.descomprimido <= kEnMemoria) {
    std::string datos;
    datos.reserve(static_cast<std::size_t>(r.descomprimido));
    if (!inflador.infla(
            campus, r,
            [&datos](const char* bloque, std::size_t n) {
              datos.append(bloque, n);
              return true;
            },
            extra, error, archivo)) {
      error += ".";
      return nullptr;
    }
    return std::make_unique<OrigenMemoria>(std::move(datos));
  }
  plataforma::Fallo fallo;
  plataforma::Archivo temporal = plataforma::creaTemporal(fallo);
  if (!temporal) {
    error = fallo.texto + ".";
    return nullptr;
  }
  bool escrito = true;
  if (!inflador.infla(
          campus, r,
          [&](const char* bloque, std::size_t n) {
            escrito = std::fwrite(bloque, 1, n, temporal.get()) == n;
            return escrito;
          },
          extra, error, archivo) ||
      std::fflush(temporal.get()) != 0) {
    error = escrito && !error.empty() ? error + "."
                                      : "No se ha podido escribir en un archivo temporal la "
                                        "entrada " +
                                            r.nombre + " del archivo del campus.";
    return nullptr;
  }
  return std::make_unique<OrigenArchivo>(std::move(temporal), r.descomprimido);
}

}  // namespace

namespace {

// The row of the file itself, before what the participant handed in beside it.
Fila revisaArchivo(const Trabajo& trabajo) {
  if (!trabajo.problema.empty()) return noRevisable(trabajo.entrega, trabajo.problema);
  auto origen = std::make_unique<OrigenArchivo>();
  unsigned long codigo = 0;
  if (!origen->abre(trabajo.ruta, &codigo)) {
    return noRevisable(
        trabajo.entrega,
        (trabajo.anidada ? "No se ha podido abrir el archivo del campus " + trabajo.ruta
                         : std::string("No se ha podido abrir el archivo")) +
            ": " + (codigo != 0 ? plataforma::razonDe(codigo) : "ya no es un archivo") + ".");
  }
  if (!trabajo.anidada) {
    LectorZip lector(std::move(origen));
    return revisaEntrega(lector, trabajo.entrega);
  }
  std::string error;
  std::unique_ptr<Origen> datos = extrae(*origen, trabajo, error);
  if (!datos) return noRevisable(trabajo.entrega, error);
  LectorZip lector(std::move(datos));
  return revisaEntrega(lector, trabajo.entrega);
}
}  // namespace

Fila encabezado(const Trabajo& trabajo) {
  Fila fila;
  fila.entrega = trabajo.entrega;
  fila.participante = trabajo.participante.numero;
  fila.nombre = trabajo.participante.nombre;
  fila.moodle = trabajo.participante.moodle;
  return fila;
}

Fila revisaTrabajo(const Trabajo& trabajo) {
  Fila fila = revisaArchivo(trabajo);
  const Fila nombres = encabezado(trabajo);
  fila.participante = nombres.participante;
  fila.nombre = nombres.nombre;
  fila.moodle = nombres.moodle;
  if (!trabajo.previos.empty()) {
    fila.hallazgos.insert(fila.hallazgos.begin(), trabajo.previos.begin(), trabajo.previos.end());
    if (fila.veredicto == Veredicto::correcta) fila.veredicto = Veredicto::conAvisos;
  }
  return fila;
}
