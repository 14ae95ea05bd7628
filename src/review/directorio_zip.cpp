// The central directory: the end record (ZIP64 too), then every record in one pass over
// the bytes, read through the origin's buffer.
#include "directorio_zip.h"

#include "codificacion.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kFin = 22;  // the end-of-central-directory record
constexpr std::size_t kComentarioMaximo = 0xFFFF;
constexpr std::size_t kLocalizador64 = 20;  // the ZIP64 end record's locator
constexpr std::size_t kFin64 = 56;          // the ZIP64 end record, without extensions
constexpr std::size_t kRegistro = 46;       // a central record without its variable parts
// No directory within the bounds takes more: 20,000 records with long names fit.
constexpr std::uint64_t kDirectorioMaximo = 16 * 1024 * 1024;

const char* const kDanado = "El archivo ZIP está dañado: no se puede leer su directorio central";

bool leeTodo(Origen& origen, std::uint64_t posicion, void* destino, std::size_t n) {
  return origen.lee(posicion, destino, n) == n;
}

// The ZIP64 extra field of a record: each of its values is there only when the record's
// own field holds all ones, in this order.
bool leeZip64(const std::string& extra, Registro& r, bool descomprimido, bool comprimido,
              bool desplazamiento) {
  const auto* datos = reinterpret_cast<const unsigned char*>(extra.data());
  for (std::size_t i = 0; i + 4 <= extra.size();) {
    Campos cabeza(datos + i, 4);
    const auto id = cabeza.lee(2);
    const auto largo = static_cast<std::size_t>(cabeza.lee(2));
    if (i + 4 + largo > extra.size()) return false;
    if (id == 1) {
      Campos valores(datos + i + 4, largo);
      if (descomprimido) r.descomprimido = valores.lee(8);
      if (comprimido) r.comprimido = valores.lee(8);
      if (desplazamiento) r.desplazamiento = valores.lee(8);
      return valores.completo();
    }
    i += 4 + largo;
  }
  return !descomprimido && !comprimido && !desplazamiento;
}

}  // namespace

std::uint64_t Campos::lee(int bytes) {
  if (falta || pos + static_cast<std::size_t>(bytes) > largo) {
    falta = true;
    return 0;
  }
  std::uint64_t valor = 0;
  for (int i = bytes - 1; i >= 0; --i)
    valor = valor << 8 | datos[pos + static_cast<std::size_t>(i)];
  pos += static_cast<std::size_t>(bytes);
  return valor;
}

bool leeDirectorio(Origen& origen, std::size_t maximo, Directorio& directorio, std::string& error) {
  const std::uint64_t tamano = origen.tamano();
  // The end record lies within the last 64 KiB and 22 bytes: its comment may be that long.
  const std::size_t cola =
      static_cast<std::size_t>(std::min<std::uint64_t>(tamano, kFin + kComentarioMaximo));
  std::vector<unsigned char> final(cola);
  if (!leeTodo(origen, tamano - cola, final.data(), cola)) {
    error = origen.error() != 0
                ? "No se ha podido leer el archivo: " + plataforma::razonDe(origen.error())
                : kDanado;
    return false;
  }
  std::size_t fin = cola;
  for (std::size_t i = cola >= kFin ? cola - kFin + 1 : 0; i-- > 0;) {
    if (std::memcmp(&final[i], "PK\x05\x06", 4) == 0) {
      fin = i;
      break;
    }
  }
  if (fin == cola) {
    char firma[4] = {};
    const bool pk = leeTodo(origen, 0, firma, 4) && std::memcmp(firma, "PK\x03\x04", 4) == 0;
    error = pk ? "El archivo ZIP está truncado o dañado: no se encuentra su directorio central"
               : "No es un archivo ZIP";
    return false;
  }
  const std::uint64_t posicionFin = tamano - cola + fin;
  Campos eocd(&final[fin], cola - fin);
  eocd.lee(4);
  const auto disco = eocd.lee(2), discoDirectorio = eocd.lee(2);
  eocd.lee(2);
  std::uint64_t total = eocd.lee(2), largo = eocd.lee(4), inicio = eocd.lee(4);
  directorio.comentario = static_cast<unsigned>(eocd.lee(2));
  bool partes = disco != 0 || discoDirectorio != 0;

  // ZIP64: the locator just before the end record leads to the larger one.
  unsigned char localizador[kLocalizador64];
  if ((total == 0xFFFF || largo == 0xFFFFFFFF || inicio == 0xFFFFFFFF) &&
      posicionFin >= kLocalizador64 &&
      leeTodo(origen, posicionFin - kLocalizador64, localizador, kLocalizador64) &&
      std::memcmp(localizador, "PK\x06\x07", 4) == 0) {
    Campos l(localizador, kLocalizador64);
    l.lee(4);
    partes = partes || l.lee(4) != 0;
    const std::uint64_t posicion64 = l.lee(8);
    partes = partes || l.lee(4) > 1;
    unsigned char fin64[kFin64];
    if (!leeTodo(origen, posicion64, fin64, kFin64) || std::memcmp(fin64, "PK\x06\x06", 4) != 0) {
      error = kDanado;
      return false;
    }
    Campos f(fin64, kFin64);
    f.lee(4 + 8 + 2 + 2);
    partes = partes || f.lee(4) != 0 || f.lee(4) != 0;
    f.lee(8);
    total = f.lee(8);
    largo = f.lee(8);
    inicio = f.lee(8);
  }
  if (partes) {
    error = "El archivo ZIP está dividido en varias partes";
    return false;
  }
  if (total > maximo) {
    error = "El archivo ZIP tiene demasiadas entradas (" + std::to_string(total) + ", más de " +
            std::to_string(maximo) + ")";
    return false;
  }
  if (inicio > posicionFin || largo > posicionFin - inicio) {
    error = "El archivo ZIP está truncado o dañado: su directorio central no está donde dice";
    return false;
  }
  if (largo > kDirectorioMaximo) {
    error = "El directorio central del archivo ZIP ocupa demasiado (" + std::to_string(largo) +
            " bytes)";
    return false;
  }

  std::vector<unsigned char> datos(static_cast<std::size_t>(largo));
  if (!leeTodo(origen, inicio, datos.data(), datos.size())) {
    error = origen.error() != 0
                ? "No se ha podido leer el archivo: " + plataforma::razonDe(origen.error())
                : kDanado;
    return false;
  }
  directorio.registros.reserve(static_cast<std::size_t>(total));
  std::size_t pos = 0;
  for (std::uint64_t n = 0; n < total; ++n) {
    Campos c(datos.data() + pos, datos.size() - pos);
    if (c.lee(4) != 0x02014B50) {
      error = kDanado;
      return false;
    }
    Registro r;
    r.version = static_cast<unsigned>(c.lee(2));
    r.versionNecesaria = static_cast<unsigned>(c.lee(2));
    r.indicadores = static_cast<unsigned>(c.lee(2));
    r.metodo = static_cast<unsigned>(c.lee(2));
    const auto hora = c.lee(2);
    r.fechaDos = static_cast<unsigned long>(c.lee(2) << 16 | hora);
    r.crc = static_cast<unsigned long>(c.lee(4));
    r.comprimido = c.lee(4);
    r.descomprimido = c.lee(4);
    const auto largoNombre = static_cast<std::size_t>(c.lee(2));
    r.extra = static_cast<unsigned>(c.lee(2));
    r.comentario = static_cast<unsigned>(c.lee(2));
    c.lee(2 + 2);
    r.atributosExternos = static_cast<unsigned long>(c.lee(4));
    r.desplazamiento = c.lee(4);
    const std::size_t variable = largoNombre + r.extra + r.comentario;
    if (!c.completo() || variable > datos.size() - pos - kRegistro) {
      error = kDanado;
      return false;
    }
    const char* nombre = reinterpret_cast<const char*>(datos.data() + pos + kRegistro);
    r.bruto.assign(nombre, largoNombre);
    const std::string extra(nombre + largoNombre, r.extra);
    if (!leeZip64(extra, r, r.descomprimido == 0xFFFFFFFF, r.comprimido == 0xFFFFFFFF,
                  r.desplazamiento == 0xFFFFFFFF)) {
      error = kDanado;
      return false;
    }
    r.nombre = nombreDeEntrada(r.bruto);
    r.malMarcado = (r.indicadores & 0x800) != 0 && r.nombre != r.bruto;
    directorio.registros.push_back(std::move(r));
    pos += kRegistro + variable;
  }
  return true;
}

std::string fechaDos(unsigned long dosDate) {
  const unsigned long fecha = (dosDate >> 16) & 0xFFFF;
  char texto[32];
  std::snprintf(texto, sizeof texto, "%04lu-%02lu-%02lu", 1980 + (fecha >> 9), (fecha >> 5) & 15,
                fecha & 31);
  return texto;
}
