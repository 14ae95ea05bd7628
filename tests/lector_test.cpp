// The ZIP reader over archives made field by field in memory: every kind of damage and bound
// it tells apart, and the finding the review words from it; and the names both sides share.
#include "integridad.h"
#include "nombres_zip.h"
#include "redaccion.h"
#include "revision.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::string deflate(const std::string& datos) {
  z_stream flujo{};
  deflateInit2(&flujo, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string salida(deflateBound(&flujo, static_cast<uLong>(datos.size())), '\0');
  flujo.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(datos.data()));
  flujo.avail_in = static_cast<uInt>(datos.size());
  flujo.next_out = reinterpret_cast<Bytef*>(salida.data());
  flujo.avail_out = static_cast<uInt>(salida.size());
  deflate(&flujo, Z_FINISH);
  salida.resize(flujo.total_out);
  deflateEnd(&flujo);
  return salida;
}

void pon(std::string& s, std::uint64_t valor, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(i < 8 ? valor >> (8 * i) & 0xFF : 0);
}

/// One entry for `aMano`: its record's fields as its content gives them, unless changed.
struct Entrada {
  std::string nombre, datos;
  unsigned metodo = 8, indicadores = 0;
  std::uint64_t crc = 0, comprimido = 0, descomprimido = 0;
  std::string nombreLocal;  // the local header's name

  Entrada(std::string n, const std::string& contenido, unsigned m = 8)
      : nombre(n), datos(m == 8 ? deflate(contenido) : contenido), metodo(m), nombreLocal(n) {
    crc = crc32(0, reinterpret_cast<const Bytef*>(contenido.data()),
                static_cast<uInt>(contenido.size()));
    comprimido = datos.size();
    descomprimido = contenido.size();
  }
  template <class Campo, class Valor>
  Entrada con(Campo Entrada::*campo, Valor valor) const {
    Entrada otra = *this;
    otra.*campo = valor;
    return otra;
  }
};

/// An archive written field by field, whatever its entries say, true or not; `pie` changes
/// the end record.
std::string aMano(const std::vector<Entrada>& entradas, std::uint16_t disco = 0,
                  std::int64_t desvio = 0) {
  std::string cuerpo, central;
  for (const Entrada& e : entradas) {
    const auto comun = [&](std::string& s, const std::string& nombre) {
      pon(s, 20, 2);
      pon(s, e.indicadores, 2);
      pon(s, e.metodo, 2);
      pon(s, 0, 2);
      pon(s, (2024 - 1980) << 9 | 3 << 5 | 15, 2);
      pon(s, e.crc, 4);
      pon(s, e.comprimido, 4);
      pon(s, e.descomprimido, 4);
      pon(s, nombre.size(), 2);
      pon(s, 0, 2);
    };
    central += "PK\x01\x02";
    pon(central, 20, 2);
    comun(central, e.nombre);
    pon(central, 0, 2 + 2 + 2 + 4);
    pon(central, cuerpo.size(), 4);
    central += e.nombre;
    cuerpo += "PK\x03\x04";
    comun(cuerpo, e.nombreLocal);
    cuerpo += e.nombreLocal + e.datos;
  }
  std::string fin = "PK\x05\x06";
  pon(fin, disco, 2);
  pon(fin, 0, 2);
  pon(fin, entradas.size(), 2);
  pon(fin, entradas.size(), 2);
  pon(fin, central.size(), 4);
  pon(fin, static_cast<std::uint64_t>(static_cast<std::int64_t>(cuerpo.size()) + desvio), 4);
  pon(fin, 0, 2);
  return cuerpo + central + fin;
}

/// The kind of damage the reader finds in `bytes`, and the finding the review makes of it;
/// nothing and the review's first finding when the reader finds none.
std::pair<std::optional<Dano>, std::string> revisa(const std::string& bytes) {
  const auto origen = std::make_shared<OrigenMemoria>(bytes);
  std::optional<Dano> dano;
  if (auto lector = LectorZip::abre(origen, kMaximoEntradas); !lector) {
    dano = lector.error().tipo;
  } else if (Inflador inflador; auto integridad = compruebaIntegridad(*lector, inflador)) {
  } else {
    dano = integridad.error().tipo;
  }
  const Revision revision = revisaEntrega(origen);
  return {dano, revision.hallazgos.empty() ? std::string() : revision.hallazgos.front()};
}

std::string veces(const std::string& texto, int n) {
  std::string salida;
  for (int i = 0; i < n; ++i) salida += texto;
  return salida;
}

TEST(LectorZip, CadaDanoConSuClaseYSuHallazgo) {
  const std::string texto = veces("int main() {}\n", 100), danado = "El archivo ZIP está dañado: ";
  const Entrada a("a.cpp", texto), guardada("a.cpp", texto, 0);
  const std::string mega(1 << 20, '\0'), ceros = deflate(veces(mega, 2));
  const std::string buena = aMano({a});
  // A sound archive whose end record some writer left a 64 KiB comment after.
  std::string comentada = buena;
  comentada[comentada.size() - 2] = '\xFF';
  comentada[comentada.size() - 1] = '\xFF';
  comentada += std::string(0xFFFF, 'c');
  std::vector<Entrada> relleno(kMaximoEntradas + 1, Entrada("x", "", 0));
  const struct {
    const char* caso;
    std::string zip;
    std::optional<Dano> dano;
    std::string hallazgo;
  } filas[] = {
      {"sana, comentada", comentada, std::nullopt,
       "El programa no se está ejecutando en el directorio de un proyecto de Visual Studio (no se "
       "encuentra el .vcxproj)"},
      {"rar", "Rar!\x1a\x07" + std::string(200, '\0'), Dano::noEsZip, "No es un archivo ZIP"},
      {"cortada al final", buena.substr(0, buena.size() - 10), Dano::sinDirectorio,
       "El archivo ZIP está truncado o dañado: no se encuentra su directorio central"},
      {"directorio fuera", aMano({a}, 0, 7), Dano::directorioFuera,
       "El archivo ZIP está truncado o dañado: su directorio central no está donde dice"},
      {"directorio roto", aMano({a}, 0, -1), Dano::directorioIlegible,
       danado + "no se puede leer su directorio central"},
      {"en partes", aMano({a}, 1), Dano::enPartes, "El archivo ZIP está dividido en varias partes"},
      {"demasiadas", aMano(relleno), Dano::demasiadas,
       "El archivo ZIP tiene demasiadas entradas (20001, más de 20000)"},
      {"crc", aMano({a.con(&Entrada::crc, 12345)}), Dano::crc,
       danado + "la entrada a.cpp no coincide con su CRC-32"},
      {"cortada dentro", aMano({guardada.con(&Entrada::datos, texto.substr(0, 100))}),
       Dano::cortada,
       "El archivo ZIP está truncado: los datos de la entrada a.cpp se cortan antes de su final"},
      {"sigue", aMano({a.con(&Entrada::comprimido, 10)}), Dano::datosSiguen,
       danado + "los datos comprimidos de la entrada a.cpp siguen más allá de los 10 bytes que "
                "declara"},
      {"sobra",
       aMano(
           {a.con(&Entrada::datos, a.datos + "sobra").con(&Entrada::comprimido, a.comprimido + 5)}),
       Dano::datosAcaban,
       danado + "los datos comprimidos de la entrada a.cpp terminan antes de los " +
           std::to_string(a.comprimido + 5) + " bytes que declara"},
      {"basura", aMano({a.con(&Entrada::datos, std::string(a.datos.size(), '\xFF'))}),
       Dano::datosInvalidos, danado + "los datos comprimidos de la entrada a.cpp no son válidos"},
      {"lzma", aMano({guardada.con(&Entrada::metodo, 14u)}), Dano::metodo,
       "El archivo ZIP usa un método de compresión que no se puede leer (14) en la entrada a.cpp"},
      {"crece",
       aMano({Entrada("ceros.bin", mega)
                  .con(&Entrada::datos, ceros)
                  .con(&Entrada::comprimido, ceros.size())}),
       Dano::creceDeMas,
       danado + "la entrada ceros.bin se descomprime a más de los 1048576 bytes que declara"},
      {"guardada de dos tamaños", aMano({guardada.con(&Entrada::descomprimido, 1450)}),
       Dano::guardadaDistinta, danado + "la entrada a.cpp guarda 1400 bytes y declara 1450"},
      {"otra cabecera local", aMano({a.con(&Entrada::nombreLocal, "b.cpp")}), Dano::cabeceraLocal,
       danado + "la cabecera local de la entrada a.cpp no es válida"},
      {"menguada", aMano({a.con(&Entrada::descomprimido, 1450)}), Dano::tamanoDistinto,
       danado + "la entrada a.cpp se descomprime a 1400 bytes y declara 1450"},
      {"cifrada", aMano({a.con(&Entrada::indicadores, 1u)}), Dano::cifrada,
       "La entrada a.cpp está cifrada"},
      // More than deflate can make of its bytes: 1032 to 1 is its most, a blank image's 1000.
      {"imposible", aMano({a.con(&Entrada::descomprimido, a.comprimido * 1032 + 1)}),
       Dano::imposible,
       danado + "la entrada a.cpp declara " + std::to_string(a.comprimido * 1032 + 1) +
           " bytes descomprimida, más de lo que deflate puede dar con los " +
           std::to_string(a.comprimido) + " que ocupa comprimida"},
      {"justa", aMano({a.con(&Entrada::descomprimido, a.comprimido * 1032)}), Dano::tamanoDistinto,
       danado + "la entrada a.cpp se descomprime a 1400 bytes y declara " +
           std::to_string(a.comprimido * 1032)},
      {"enorme", aMano({guardada.con(&Entrada::descomprimido, std::uint64_t{2} << 30)}),
       Dano::entradaGrande, "La entrada a.cpp ocupa más de 1 GiB descomprimida"},
      {"suma",
       aMano({guardada.con(&Entrada::descomprimido, 600u << 20),
              guardada.con(&Entrada::nombre, "b.cpp")
                  .con(&Entrada::nombreLocal, "b.cpp")
                  .con(&Entrada::descomprimido, 600u << 20)}),
       Dano::totalGrande, "Las entradas ocupan más de 1 GiB descomprimidas"},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.caso);
    const auto [dano, hallazgo] = revisa(fila.zip);
    EXPECT_EQ(dano, fila.dano);
    EXPECT_EQ(hallazgo, fila.hallazgo);
  }
}

TEST(LectorZip, NombresDeEntrada) {
  const struct {
    std::string nombre;
    bool seguro;
    std::string utf8;  // as the reader shows it
  } filas[] = {
      {"Juego/main.cpp", true, "Juego/main.cpp"},
      {"a/b/", true, "a/b/"},
      {"../fuera.txt", false, "../fuera.txt"},
      {"Juego/..", false, "Juego/.."},
      {"/etc/x", false, "/etc/x"},
      {"C:/x", false, "C:/x"},
      {"Juego\\main.cpp", false, "Juego\\main.cpp"},
      {std::string("a\0b", 3), false, std::string("a\0b", 3)},
      {"", false, ""},
      // Not UTF-8: code page 437, the format's own.
      {"Dise\xa4o.cpp", true, "Diseño.cpp"},
      {"\x80\xff", true, "Ç\u00a0"},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    EXPECT_EQ(esNombreSeguro(fila.nombre), fila.seguro);
    EXPECT_EQ(nombreDeEntrada(fila.nombre), fila.utf8);
  }
  // What comprobador names a delivered file by where the scans found it.
  EXPECT_EQ(nombrePorSitio("main.cpp", "Juego", "/"), "Juego/main.cpp");
  EXPECT_EQ(nombrePorSitio("main.cpp", "", "/"), "main.cpp");
  EXPECT_EQ(nombrePorSitio("../images/a.png", "Juego", "/"), "images/a.png");
  EXPECT_EQ(nombrePorSitio("..\\images\\a.png", "Juego", "\\"), "images/a.png");
  EXPECT_EQ(nombrePorSitio("..\\Solucion.sln", "Juego", "\\"), "Solucion.sln");
}

}  // namespace
