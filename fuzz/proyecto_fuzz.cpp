// libFuzzer target: the input is the project file of a fixed small delivery, and the
// project file cross-check runs over it. Besides the sanitizers' findings, it aborts on a
// box whose text is in no row of the catalogue of messages, on a box of the catalogue that
// the cross-check cannot show, or on boxes out of their order.
#include "caja.h"
#include "cajas.h"
#include "disco.h"
#include "entrega.h"
#include "escaneo.h"
#include "proyecto.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Caja {
  TipoCaja tipo;
  std::string texto;
};

std::vector<Caja>& cajas() {
  static std::vector<Caja> registro;
  return registro;
}

// The catalogue, as the student reads it: every text with the full stop the box adds.
enum class Fila { fija, archivoFuera, archivoFalta, cabeceraFuera, cabeceraFalta, sinReferencia };

struct Texto {
  Fila fila;
  TipoCaja tipo;
  const char* antes;  // the whole text of a fixed row, or what comes before the name
  const char* despues;
  bool delCruce;  // shown by the cross-check
};

const Texto kCatalogo[] = {
    {Fila::fija, TipoCaja::error,
     "El programa no se está ejecutando en el directorio de un proyecto, sino en el de una "
     "solución.",
     "", false},
    {Fila::fija, TipoCaja::error,
     "El programa no se está ejecutando en el directorio de un proyecto de Visual Studio (no se "
     "encuentra el .vcxproj).",
     "", false},
    {Fila::fija, TipoCaja::error, "No se encuentra la solución del proyecto.", "", false},
    {Fila::fija, TipoCaja::error,
     "Falta el archivo info.txt con el nombre de los autores e información de las "
     "funcionalidades opcionales implementadas.",
     "", false},
    {Fila::fija, TipoCaja::aviso,
     "No se encuentra el directorio \"images\" de la plantilla con las imágenes.", "", false},
    {Fila::fija, TipoCaja::error, "Error al procesar el archivo del proyecto.", "", true},
    {Fila::archivoFuera, TipoCaja::error, "El archivo ",
     " al que hace referencia el proyecto no está ubicado en su directorio.", true},
    {Fila::archivoFalta, TipoCaja::error, "El archivo ",
     " al que hace referencia el proyecto no existe.", true},
    {Fila::cabeceraFuera, TipoCaja::error, "La cabecera ",
     " a la que hace referencia el proyecto no está ubicada en su directorio.", true},
    {Fila::cabeceraFalta, TipoCaja::error, "La cabecera ",
     " a la que hace referencia el proyecto no existe.", true},
    {Fila::sinReferencia, TipoCaja::aviso, "El proyecto no hace referencia al archivo ", ".", true},
    {Fila::fija, TipoCaja::error,
     "No se ha podido crear el archivo entrega.zip en el directorio actual.", "", false},
};

[[noreturn]] void falla(const char* por, const std::string& texto) {
  std::fprintf(stderr, "\n*** %s: [%s]\n", por, texto.c_str());
  std::abort();
}

bool acabaEn(const std::string& texto, const std::string& fin) {
  return texto.size() >= fin.size() &&
         texto.compare(texto.size() - fin.size(), fin.size(), fin) == 0;
}

// The row the box belongs to, and the name it carries; aborts when there is none.
const Texto& fila(const Caja& caja, std::string& nombre) {
  for (const Texto& t : kCatalogo) {
    if (t.tipo != caja.tipo) continue;
    const std::string antes = t.antes, despues = t.despues;
    if (t.fila == Fila::fija) {
      if (caja.texto == antes) return t;
    } else if (caja.texto.size() >= antes.size() + despues.size() &&
               caja.texto.compare(0, antes.size(), antes) == 0 && acabaEn(caja.texto, despues)) {
      // A name may itself end like another row's suffix; the first row that fits is as good.
      nombre = caja.texto.substr(antes.size(), caja.texto.size() - antes.size() - despues.size());
      return t;
    }
  }
  falla("caja fuera del catálogo", caja.texto);
}

// The fixed tree: the project folder holds sources, headers and a folder named like a
// source; the solution folder holds a source and a header that the project may name with a
// folder in front, as misplaced files.
struct Arbol {
  std::string raiz;
  int proyecto = -1;
  int anterior = -1;
  Entrega entrega;
};

Arbol& arbol() {
  static Arbol a;
  return a;
}

void escribe(const fs::path& ruta, const std::string& contenido) {
  fs::create_directories(ruta.parent_path());
  std::ofstream(ruta, std::ios::binary) << contenido;
}

void borraArbol() {
  std::error_code error;
  if (!arbol().raiz.empty()) fs::remove_all(arbol().raiz, error);
}

struct Dentro {
  Dentro() {
    if (fchdir(arbol().proyecto) != 0) falla("fchdir", "proyecto");
  }
  ~Dentro() {
    if (fchdir(arbol().anterior) != 0) std::abort();
  }
};

}  // namespace

void muestraCaja(TipoCaja tipo, const std::string& texto) { cajas().push_back({tipo, texto}); }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Arbol& a = arbol();
  std::string plantilla = (fs::temp_directory_path() / "comprobador-fuzz.XXXXXX").string();
  if (mkdtemp(plantilla.data()) == nullptr) falla("mkdtemp", plantilla);
  a.raiz = plantilla;
  std::atexit(borraArbol);
  const fs::path solucion = fs::path(a.raiz) / "Solucion";
  const fs::path juego = solucion / "Juego";
  escribe(juego / "Juego.vcxproj", "");
  escribe(juego / "main.cpp", "int main() {}\n");
  escribe(juego / "Juego.cpp", "#include \"Juego.h\"\n");
  escribe(juego / "util.cc", "// util\n");
  escribe(juego / "Juego.h", "#pragma once\n");
  escribe(juego / "tipos.hpp", "#pragma once\n");
  escribe(juego / "Juego.vcxproj.filters", "<Project />\n");
  escribe(juego / "sub" / "otro.cpp", "// otro\n");
  fs::create_directories(juego / "carpeta.cpp");
  escribe(solucion / "Solucion.sln", "sln\n");
  escribe(solucion / "info.txt", "Autores\n");
  escribe(solucion / "Comun" / "comun.cpp", "// comun\n");
  escribe(solucion / "Comun" / "comun.h", "#pragma once\n");
  escribe(solucion / "images" / "heroe.png", "PNG");

  a.anterior = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  a.proyecto = open(juego.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (a.anterior < 0 || a.proyecto < 0) falla("open", juego.string());
  Dentro dentro;
  VistaDisco disco;
  plataforma::Resultado<void> escaneado = escaneaProyecto(disco, a.entrega);
  if (escaneado) escaneado = escaneaSolucion(disco, a.entrega);
  if (!escaneado) falla("escaneo", escaneado.error().texto());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
  const Arbol& a = arbol();
  Dentro dentro;
  {
    std::ofstream proyecto(a.entrega.proyecto, std::ios::binary | std::ios::trunc);
    proyecto.write(reinterpret_cast<const char*>(datos), static_cast<std::streamsize>(tamano));
    if (!proyecto) falla("no se puede escribir", a.entrega.proyecto);
  }

  cajas().clear();
  VistaDisco disco;
  Cajas enCajas;
  const plataforma::Resultado<void> hecho = cruzaProyecto(disco, a.entrega, enCajas);
  // Nothing in this tree is unreadable, but a value may name any path on the machine: a
  // status query that fails there (a run without privileges) is the platform's failure.
  if (!hecho && hecho.error().texto().rfind("No se ha podido consultar el estado de ", 0) != 0) {
    falla("fallo inesperado", hecho.error().texto());
  }

  bool avisos = false;
  std::string anterior;
  for (const Caja& caja : cajas()) {
    std::string nombre;
    const Texto& t = fila(caja, nombre);
    if (!t.delCruce) falla("caja que el cruce no muestra", caja.texto);
    if (t.fila == Fila::fija) {
      // The file did not load: that box alone.
      if (cajas().size() != 1) falla("error de carga con otras cajas", caja.texto);
    } else if (t.fila == Fila::sinReferencia) {
      if (a.entrega.fuentes.count(nombre) == 0) falla("aviso de una fuente que no existe", nombre);
      if (avisos && !(anterior < nombre)) falla("avisos fuera de orden", nombre);
      avisos = true;
      anterior = nombre;
    } else if (avisos) {
      falla("error del cruce tras los avisos", caja.texto);
    }
  }
  return 0;
}
