// The central directory: the end record (ZIP64 too), then every record in one pass over
// the bytes, read through the origin's buffer.
#include "directorio_zip.h"

#include "nombres_zip.h"

#include <algorithm>
#include <cstdio>

namespace {

// No directory within any sensible bound takes more: 20,000 records with long names fit.
constexpr std::uint64_t kDirectorioMaximo = 16 * 1024 * 1024;

using Resultado = plataforma::Resultado<Directorio, DanoZip>;

DanoZip dano(Dano tipo) { return DanoZip{tipo}; }

DanoZip ilegible(const plataforma::Fallo& fallo) {
  DanoZip d{Dano::ilegible};
  d.razon = fallo.razon;
  return d;
}

/// Where the central directory lies and how many records it holds, as the end record says.
struct Fin {
  std::uint64_t total = 0, largo = 0, inicio = 0;
  std::uint64_t posicion = 0;  // of the end record itself
  unsigned comentario = 0;
  bool partes = false;
};

// The end record lies within the last 64 KiB and 22 bytes: its comment may be that long.
plataforma::Resultado<Fin, DanoZip> buscaFin(Origen& origen) {
  const std::uint64_t tamano = origen.tamano();
  const std::size_t cola =
      static_cast<std::size_t>(std::min<std::uint64_t>(tamano, kFin + kComentarioMaximo));
  std::vector<unsigned char> final(cola);
  plataforma::Resultado<bool> leido = leeTodo(origen, tamano - cola, final.data(), cola);
  if (!leido) return ilegible(leido.error());
  if (!*leido) return dano(Dano::directorioIlegible);
  for (std::size_t i = cola >= kFin ? cola - kFin + 1 : 0; i-- > 0;) {
    Campos c(&final[i], cola - i);
    if (c.lee(4) != kFirmaFin) continue;
    Fin fin;
    fin.posicion = tamano - cola + i;
    const auto disco = c.lee(2), discoDirectorio = c.lee(2);
    c.salta(2);
    fin.total = c.lee(2);
    fin.largo = c.lee(4);
    fin.inicio = c.lee(4);
    fin.comentario = static_cast<unsigned>(c.lee(2));
    fin.partes = disco != 0 || discoDirectorio != 0;
    return fin;
  }
  unsigned char firma[4] = {};
  plataforma::Resultado<bool> inicio = leeTodo(origen, 0, firma, 4);
  if (!inicio) return ilegible(inicio.error());
  const bool local = *inicio && Campos(firma, 4).lee(4) == kFirmaLocal;
  return dano(local ? Dano::sinDirectorio : Dano::noEsZip);
}

// ZIP64: the locator just before the end record leads to the larger one, which holds the
// true values of any field the end record fills with ones.
plataforma::Resultado<Fin, DanoZip> leeFin64(Origen& origen, Fin fin) {
  if ((fin.total != 0xFFFF && fin.largo != kEnZip64 && fin.inicio != kEnZip64) ||
      fin.posicion < kLocalizador64) {
    return fin;
  }
  unsigned char localizador[kLocalizador64];
  plataforma::Resultado<bool> leido =
      leeTodo(origen, fin.posicion - kLocalizador64, localizador, kLocalizador64);
  if (!leido) return ilegible(leido.error());
  Campos l(localizador, kLocalizador64);
  if (!*leido || l.lee(4) != kFirmaLocalizador64) return fin;
  fin.partes = fin.partes || l.lee(4) != 0;
  const std::uint64_t posicion64 = l.lee(8);
  fin.partes = fin.partes || l.lee(4) > 1;
  unsigned char fin64[kFin64];
  leido = leeTodo(origen, posicion64, fin64, kFin64);
  if (!leido) return ilegible(leido.error());
  Campos f(fin64, kFin64);
  if (!*leido || f.lee(4) != kFirmaFin64) return dano(Dano::directorioIlegible);
  f.salta(8 + 2 + 2);
  fin.partes = fin.partes || f.lee(4) != 0 || f.lee(4) != 0;
  f.salta(8);
  fin.total = f.lee(8);
  fin.largo = f.lee(8);
  fin.inicio = f.lee(8);
  return fin;
}

// The ZIP64 extra field of a record: each of its values is there only when the record's
// own field holds all ones, in this order.
bool leeZip64(const unsigned char* extra, std::size_t largo, Registro& r) {
  const bool descomprimido = r.descomprimido == kEnZip64, comprimido = r.comprimido == kEnZip64,
             desplazamiento = r.desplazamiento == kEnZip64;
  for (std::size_t i = 0; i + 4 <= largo;) {
    Campos cabeza(extra + i, 4);
    const auto id = cabeza.lee(2);
    const auto tamano = static_cast<std::size_t>(cabeza.lee(2));
    if (i + 4 + tamano > largo) return false;
    if (id == kExtraZip64) {
      Campos valores(extra + i + 4, tamano);
      if (descomprimido) r.descomprimido = valores.lee(8);
      if (comprimido) r.comprimido = valores.lee(8);
      if (desplazamiento) r.desplazamiento = valores.lee(8);
      return valores.completo();
    }
    i += 4 + tamano;
  }
  return !descomprimido && !comprimido && !desplazamiento;
}

// One record at `pos` of the directory's bytes; how many bytes it takes, or 0 when it is
// damaged.
std::size_t leeRegistro(const std::vector<unsigned char>& datos, std::size_t pos, Registro& r) {
  Campos c(datos.data() + pos, datos.size() - pos);
  if (c.lee(4) != kFirmaCentral) return 0;
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
  c.salta(2 + 2);
  r.atributosExternos = static_cast<unsigned long>(c.lee(4));
  r.desplazamiento = c.lee(4);
  const std::size_t variable = largoNombre + r.extra + r.comentario;
  if (!c.completo() || variable > datos.size() - pos - kRegistroCentral) return 0;
  const unsigned char* nombre = datos.data() + pos + kRegistroCentral;
  r.bruto.assign(reinterpret_cast<const char*>(nombre), largoNombre);
  if (!leeZip64(nombre + largoNombre, r.extra, r)) return 0;
  r.nombre = nombreDeEntrada(r.bruto);
  r.malMarcado = (r.indicadores & kIndicadorUtf8) != 0 && r.nombre != r.bruto;
  return kRegistroCentral + variable;
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

void Campos::salta(std::size_t bytes) {
  if (falta || pos + bytes > largo) {
    falta = true;
  } else {
    pos += bytes;
  }
}

Resultado leeDirectorio(Origen& origen, std::size_t maximo) {
  plataforma::Resultado<Fin, DanoZip> buscado = buscaFin(origen);
  if (buscado) buscado = leeFin64(origen, *buscado);
  if (!buscado) return std::move(buscado).error();
  const Fin& fin = *buscado;
  if (fin.partes) return dano(Dano::enPartes);
  if (fin.total > maximo) {
    DanoZip d{Dano::demasiadas};
    d.hallado = fin.total;
    d.limite = maximo;
    return d;
  }
  if (fin.inicio > fin.posicion || fin.largo > fin.posicion - fin.inicio) {
    return dano(Dano::directorioFuera);
  }
  if (fin.largo > kDirectorioMaximo) {
    DanoZip d{Dano::directorioGrande};
    d.hallado = fin.largo;
    return d;
  }

  std::vector<unsigned char> datos(static_cast<std::size_t>(fin.largo));
  plataforma::Resultado<bool> leido = leeTodo(origen, fin.inicio, datos.data(), datos.size());
  if (!leido) return ilegible(leido.error());
  if (!*leido) return dano(Dano::directorioIlegible);
  Directorio directorio;
  directorio.comentario = fin.comentario;
  directorio.registros.reserve(static_cast<std::size_t>(fin.total));
  for (std::size_t pos = 0, n = 0; n < fin.total; ++n) {
    Registro r;
    const std::size_t largo = leeRegistro(datos, pos, r);
    if (largo == 0) return dano(Dano::directorioIlegible);
    directorio.registros.push_back(std::move(r));
    pos += largo;
  }
  return directorio;
}

std::string fechaDos(unsigned long dosDate) {
  const unsigned long fecha = (dosDate >> 16) & 0xFFFF;
  char texto[32];
  std::snprintf(texto, sizeof texto, "%04lu-%02lu-%02lu", 1980 + (fecha >> 9), (fecha >> 5) & 15,
                fecha & 31);
  return texto;
}
