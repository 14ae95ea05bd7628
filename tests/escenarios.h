// Delivery trees as tables: the texts the student sees, complete deliveries and their
// variations, and the loop that runs each row and compares the whole list of boxes.
#pragma once

#include "arbol.h"
#include "comprobador.h"
#include "registro.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// The texts exactly as the student sees them, full stop included.
inline const std::string kEnSolucion =
    "El programa no se está ejecutando en el directorio de un proyecto, sino en el de una "
    "solución.";
inline const std::string kSinProyecto =
    "El programa no se está ejecutando en el directorio de un proyecto de Visual Studio (no se "
    "encuentra el .vcxproj).";
inline const std::string kSinSolucion = "No se encuentra la solución del proyecto.";
inline const std::string kSinInfo =
    "Falta el archivo info.txt con el nombre de los autores e información de las "
    "funcionalidades opcionales implementadas.";
inline const std::string kSinImagenes =
    "No se encuentra el directorio \"images\" de la plantilla con las imágenes.";
inline const std::string kIlegible = "Error al procesar el archivo del proyecto.";

inline std::string fuera(const std::string& valor) {
  return "El archivo " + valor +
         " al que hace referencia el proyecto no está ubicado en su "
         "directorio.";
}
inline std::string falta(const std::string& valor) {
  return "El archivo " + valor + " al que hace referencia el proyecto no existe.";
}
inline std::string cabeceraFuera(const std::string& valor) {
  return "La cabecera " + valor +
         " a la que hace referencia el proyecto no está ubicada en su "
         "directorio.";
}
inline std::string cabeceraFalta(const std::string& valor) {
  return "La cabecera " + valor + " a la que hace referencia el proyecto no existe.";
}
inline std::string sinReferencia(const std::string& fuente) {
  return "El proyecto no hace referencia al archivo " + fuente + ".";
}

// An element nested `niveles` deep inside the project element.
inline std::string anidado(int niveles) {
  std::string xml = "<Project>";
  for (int i = 0; i < niveles; ++i) xml += "<ItemGroup>";
  xml += "<ClCompile Include=\"main.cpp\" />";
  for (int i = 0; i < niveles; ++i) xml += "</ItemGroup>";
  return xml + "</Project>";
}

using Archivos = std::vector<std::pair<std::string, std::string>>;

struct Escenario {
  const char* nombre;
  Archivos archivos;  // relative to the solution folder; a name ending in "/" is a folder
  std::vector<Caja> cajas;
  Desenlace resultado;
};

// A complete delivery whose project names exactly main.cpp and juego.h, plus `extra`.
inline Archivos completa(std::string proyecto, Archivos extra = {}) {
  Archivos archivos = {{"Juego/Juego.vcxproj", std::move(proyecto)},
                       {"Juego/main.cpp", "int main() {}\n"},
                       {"Juego/juego.h", "#pragma once\n"},
                       {"Solucion.sln", "sln\n"},
                       {"info.txt", "Autores\n"},
                       {"images/", ""}};
  archivos.insert(archivos.end(), extra.begin(), extra.end());
  return archivos;
}
inline Archivos completa(Archivos extra = {}) {
  return completa(vcxproj({"ClCompile main.cpp", "ClInclude juego.h"}), std::move(extra));
}

inline Archivos sin(Archivos archivos, const std::string& ruta) {
  for (auto it = archivos.begin(); it != archivos.end(); ++it) {
    if (it->first == ruta) {
      archivos.erase(it);
      break;
    }
  }
  return archivos;
}

inline void construye(Arbol& arbol, const Archivos& archivos) {
  for (const auto& [ruta, contenido] : archivos) {
    if (!ruta.empty() && ruta.back() == '/') {
      arbol.directorio(ruta);
    } else {
      arbol.archivo(ruta, contenido);
    }
  }
}

inline void compruebaEscenarios(const std::vector<Escenario>& escenarios) {
  for (const Escenario& escenario : escenarios) {
    SCOPED_TRACE(escenario.nombre);
    Arbol arbol;
    construye(arbol, escenario.archivos);
    cajas().clear();
    EXPECT_EQ(Comprobador().compruebaEntrega(), escenario.resultado);
    EXPECT_EQ(cajas(), escenario.cajas);
  }
}
