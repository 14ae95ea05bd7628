// Shared by the archive tests: running the check, reading entrega.zip back, and the
// headers every entry must carry.
#pragma once

#include "arbol.h"
#include "archivo_zip.h"
#include "comprobador.h"
#include "lector_zip.h"
#include "registro.h"

#include <gtest/gtest.h>
#include <unzip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

/// Entry names with their bytes, in archive order.
using Entradas = std::vector<std::pair<std::string, std::string>>;
using Cajas = std::vector<Caja>;

inline const std::string kSinZip =
    "No se ha podido crear el archivo entrega.zip en el directorio actual.";
inline const std::string kSinReferencia = "El proyecto no hace referencia al archivo ";

/// The DOS date when the last run began.
inline unsigned long& fechaAlEmpezar() {
  static unsigned long fecha = 0;
  return fecha;
}

inline Desenlace comprueba() {
  cajas().clear();
  fechaAlEmpezar() = fechaDosDeHoy();
  return Comprobador().compruebaEntrega();
}

/// A run that crosses midnight may stamp the day it began or the day it ended.
inline bool esFechaDeLaEjecucion(unsigned long fechaDos) {
  return fechaDos == fechaAlEmpezar() << 16 || fechaDos == fechaDosDeHoy() << 16;
}

// Bytes that deflate cannot squeeze into a few repeats, so every block matters.
inline std::string bytes(std::size_t n, std::uint32_t semilla) {
  std::string datos(n, '\0');
  std::uint32_t x = semilla * 2654435761u + 1;
  for (char& c : datos) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x >> 24);
  }
  return datos;
}

inline std::vector<EntradaZip> leeEntrega() {
  std::vector<EntradaZip> entradas;
  std::string error;
  EXPECT_TRUE(leeZip("entrega.zip", entradas, error)) << error;
  return entradas;
}

inline Entradas contenido(const std::vector<EntradaZip>& entradas) {
  Entradas salida;
  for (const EntradaZip& e : entradas) salida.emplace_back(e.nombre, e.datos);
  return salida;
}

// The least a delivery needs: project file, solution and info.txt; the image directory
// keeps its warning away.
inline void entregaMinima(Arbol& arbol, std::initializer_list<const char*> items = {}) {
  arbol.archivo("Juego/Juego.vcxproj", vcxproj(items));
  arbol.archivo("Solucion.sln", "Microsoft Visual Studio Solution File\r\n");
  arbol.archivo("info.txt", "Ana y Luis\r\n");
  arbol.directorio("images");
}

// The same on every entry: UTF-8 name, level 9 deflate, the run's day at 00:00:00, nothing
// extra.
inline void compruebaCabeceras(const EntradaZip& e) {
  SCOPED_TRACE(e.nombre);
  EXPECT_EQ(e.version, 0x0024u);
  EXPECT_EQ(e.versionNecesaria, 20u);
  EXPECT_EQ(e.versionLocal, 20u);
  EXPECT_EQ(e.flag, 0x0802u);
  EXPECT_EQ(e.flagLocal, 0x0802u);
  EXPECT_EQ(e.metodo, 8u);
  EXPECT_TRUE(esFechaDeLaEjecucion(e.fechaDos)) << e.fechaDos;
  EXPECT_EQ(e.fechaDosLocal, e.fechaDos);
  EXPECT_EQ(e.extra, 0u);
  EXPECT_EQ(e.extraLocal, 0u);
  EXPECT_EQ(e.comentario, 0u);
  EXPECT_EQ(e.atributosExternos, 0u);
}
