// Inflating an entry: the local header checked against the record, the data read in
// blocks, every way the data can differ from the record named.
#include "inflado.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kBloque = 64 * 1024;

}  // namespace

Inflador::Inflador() : entrada(kBloque), salida(kBloque) {}

Inflador::~Inflador() {
  if (iniciado) inflateEnd(&flujo);
}

bool Inflador::infla(Origen& origen, const Registro& r, const Bloque& bloque, unsigned& extraLocal,
                     std::string& dano, const std::string& archivo) {
  const std::string entrada_ = "la entrada " + r.nombre;
  const std::string danado = archivo + " está dañado: ";
  const auto falla = [&dano](std::string texto) {
    dano = std::move(texto);
    return false;
  };
  const auto ilegible = [&] {
    return falla("No se ha podido leer " + entrada_ + ": " + plataforma::razonDe(origen.error()));
  };
  const auto cortado = [&] {
    return origen.error() != 0 ? ilegible()
                               : falla(archivo + " está truncado: los datos de " + entrada_ +
                                       " se cortan antes de su final");
  };

  // The local header must say what the record says of the name, the method and encryption.
  unsigned char cabeza[kCabeceraLocal];
  const std::string invalida = danado + "la cabecera local de " + entrada_ + " no es válida";
  if (r.desplazamiento > origen.tamano() ||
      origen.lee(r.desplazamiento, cabeza, kCabeceraLocal) != kCabeceraLocal) {
    return origen.error() != 0 ? ilegible() : falla(invalida);
  }
  Campos c(cabeza, kCabeceraLocal);
  const auto firma = c.lee(4);
  c.lee(2);
  const auto indicadores = c.lee(2), metodo = c.lee(2);
  c.lee(4 + 4 + 4 + 4);
  const auto largoNombre = static_cast<std::size_t>(c.lee(2));
  extraLocal = static_cast<unsigned>(c.lee(2));
  std::string nombre(largoNombre, '\0');
  if (firma != 0x04034B50 || metodo != r.metodo || (indicadores & 1) != (r.indicadores & 1) ||
      largoNombre != r.bruto.size() ||
      origen.lee(r.desplazamiento + kCabeceraLocal, nombre.data(), largoNombre) != largoNombre ||
      nombre != r.bruto) {
    return origen.error() != 0 ? ilegible() : falla(invalida);
  }
  const std::uint64_t inicio = r.desplazamiento + kCabeceraLocal + largoNombre + extraLocal;
  if (inicio > origen.tamano() || r.comprimido > origen.tamano() - inicio) return cortado();
  if (r.cifrado()) return falla(archivo + " está cifrado: " + entrada_ + " no se puede leer");
  if (r.metodo != 0 && r.metodo != 8) {
    return falla(archivo + " usa un método de compresión que no se puede leer (" +
                 std::to_string(r.metodo) + ") en " + entrada_);
  }
  if (r.metodo == 0 && r.comprimido != r.descomprimido) {
    return falla(danado + entrada_ + " guarda " + std::to_string(r.comprimido) +
                 " bytes y declara " + std::to_string(r.descomprimido));
  }

  if (r.metodo == 8) {
    const int resultado = iniciado ? inflateReset(&flujo) : inflateInit2(&flujo, -MAX_WBITS);
    if (resultado == Z_MEM_ERROR) throw std::bad_alloc();
    if (resultado != Z_OK) return falla("No se ha podido descomprimir " + entrada_);
    iniciado = true;
  }
  flujo.avail_in = 0;
  std::uint64_t leido = 0, total = 0;
  uLong crc = crc32(0, nullptr, 0);
  const auto lleva = [&](const unsigned char* datos, std::size_t n) {
    total += n;
    crc = crc32(crc, datos, static_cast<uInt>(n));
    return bloque(reinterpret_cast<const char*>(datos), n);
  };
  for (bool fin = false; !fin;) {
    if (flujo.avail_in == 0 && leido < r.comprimido) {
      const auto n =
          static_cast<std::size_t>(std::min<std::uint64_t>(kBloque, r.comprimido - leido));
      if (origen.lee(inicio + leido, entrada.data(), n) != n) return cortado();
      leido += n;
      flujo.next_in = entrada.data();
      flujo.avail_in = static_cast<uInt>(n);
    }
    if (r.metodo == 0) {
      // Stored: the data is the content.
      const std::size_t n = flujo.avail_in;
      flujo.avail_in = 0;
      if (n > 0 && !lleva(entrada.data(), n)) return falla({});
      fin = leido == r.comprimido;
      continue;
    }
    flujo.next_out = salida.data();
    flujo.avail_out = static_cast<uInt>(salida.size());
    const int z = inflate(&flujo, Z_NO_FLUSH);
    const std::size_t producido = salida.size() - flujo.avail_out;
    if (producido > 0) {
      // Stopped at once: an entry that inflates past its recorded size is damage, not
      // more work.
      if (producido > r.descomprimido - std::min(total, r.descomprimido)) {
        return falla(danado + entrada_ + " se descomprime a más de los " +
                     std::to_string(r.descomprimido) + " bytes que declara");
      }
      if (!lleva(salida.data(), producido)) return falla({});
    }
    if (z == Z_STREAM_END) {
      fin = true;
    } else if (z == Z_MEM_ERROR) {
      throw std::bad_alloc();
    } else if (z != Z_OK && z != Z_BUF_ERROR) {
      return falla(danado + "los datos comprimidos de " + entrada_ + " no son válidos");
    } else if (flujo.avail_in == 0 && leido == r.comprimido && producido == 0) {
      return falla(danado + "los datos comprimidos de " + entrada_ + " siguen más allá de los " +
                   std::to_string(r.comprimido) + " bytes que declara");
    }
  }
  if (flujo.avail_in != 0 || leido != r.comprimido) {
    return falla(danado + "los datos comprimidos de " + entrada_ + " terminan antes de los " +
                 std::to_string(r.comprimido) + " bytes que declara");
  }
  if (total != r.descomprimido) {
    return falla(danado + entrada_ + " se descomprime a " + std::to_string(total) +
                 " bytes y declara " + std::to_string(r.descomprimido));
  }
  if (crc != r.crc) return falla(danado + entrada_ + " no coincide con su CRC-32");
  return true;
}
