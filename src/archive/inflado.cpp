// Inflating an entry: the local header checked against the record, the data read in
// blocks, every way the data can differ from the record told apart.
#include "inflado.h"

#include <algorithm>

namespace {

constexpr std::size_t kBloque = 64 * 1024;

using Resultado = plataforma::Resultado<Inflado, DanoZip>;

DanoZip dano(Dano tipo, const Registro& r, std::uint64_t hallado = 0, std::uint64_t declarado = 0) {
  DanoZip d{tipo, r.nombre};
  d.hallado = hallado;
  d.declarado = declarado;
  return d;
}

DanoZip ilegible(const Registro& r, std::string razon) {
  DanoZip d{Dano::ilegible, r.nombre};
  d.razon = std::move(razon);
  return d;
}

// Where the entry's data begins, once its local header says what its record says of the
// name, the method and encryption; and the length of its extra field.
plataforma::Resultado<std::pair<std::uint64_t, unsigned>, DanoZip> leeCabecera(Origen& origen,
                                                                               const Registro& r) {
  unsigned char cabeza[kCabeceraLocal];
  plataforma::Resultado<bool> leida = leeTodo(origen, r.desplazamiento, cabeza, kCabeceraLocal);
  if (!leida) return ilegible(r, leida.error().razon);
  Campos c(cabeza, kCabeceraLocal);
  const auto firma = c.lee(4);
  c.salta(2);
  const auto indicadores = c.lee(2), metodo = c.lee(2);
  c.salta(4 + 4 + 4 + 4);
  const auto largoNombre = static_cast<std::size_t>(c.lee(2));
  const auto extra = static_cast<unsigned>(c.lee(2));
  if (!*leida || firma != kFirmaLocal || metodo != r.metodo ||
      (indicadores & kIndicadorCifrado) != (r.indicadores & kIndicadorCifrado) ||
      largoNombre != r.bruto.size()) {
    return dano(Dano::cabeceraLocal, r);
  }
  std::string nombre(largoNombre, '\0');
  leida = leeTodo(origen, r.desplazamiento + kCabeceraLocal, nombre.data(), largoNombre);
  if (!leida) return ilegible(r, leida.error().razon);
  if (!*leida || nombre != r.bruto) return dano(Dano::cabeceraLocal, r);
  const std::uint64_t inicio = r.desplazamiento + kCabeceraLocal + largoNombre + extra;
  if (inicio > origen.tamano() || r.comprimido > origen.tamano() - inicio) {
    return dano(Dano::cortada, r);
  }
  return std::make_pair(inicio, extra);
}

}  // namespace

Inflador::Inflador() : entrada(kBloque), salida(kBloque) {}

Inflador::~Inflador() {
  if (iniciado) inflateEnd(&flujo);
}

plataforma::Resultado<void, DanoZip> Inflador::preparaFlujo(const Registro& r) {
  if (r.cifrado()) return dano(Dano::cifrada, r);
  if (r.metodo != kMetodoGuardado && r.metodo != kMetodoDeflate) {
    return dano(Dano::metodo, r, r.metodo);
  }
  if (r.metodo == kMetodoGuardado && r.comprimido != r.descomprimido) {
    return dano(Dano::guardadaDistinta, r, r.comprimido, r.descomprimido);
  }
  flujo.avail_in = 0;
  if (r.metodo == kMetodoGuardado) return {};
  const int z = iniciado ? inflateReset(&flujo) : inflateInit2(&flujo, -MAX_WBITS);
  if (z == Z_MEM_ERROR) return ilegible(r, "no hay memoria suficiente");
  if (z != Z_OK) return ilegible(r, "zlib no se ha podido preparar (" + std::to_string(z) + ")");
  iniciado = true;
  return {};
}

Resultado Inflador::infla(Origen& origen, const Registro& r, const Bloque& bloque) {
  plataforma::Resultado<std::pair<std::uint64_t, unsigned>, DanoZip> cabecera =
      leeCabecera(origen, r);
  if (!cabecera) return std::move(cabecera).error();
  const auto [inicio, extraLocal] = *cabecera;
  plataforma::Resultado<void, DanoZip> preparado = preparaFlujo(r);
  if (!preparado) return std::move(preparado).error();

  Inflado inflado{true, extraLocal};
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
      plataforma::Resultado<bool> leida = leeTodo(origen, inicio + leido, entrada.data(), n);
      if (!leida) return ilegible(r, leida.error().razon);
      if (!*leida) return dano(Dano::cortada, r);
      leido += n;
      flujo.next_in = entrada.data();
      flujo.avail_in = static_cast<uInt>(n);
    }
    if (r.metodo == kMetodoGuardado) {
      // Stored: the data is the content.
      const std::size_t n = flujo.avail_in;
      flujo.avail_in = 0;
      if (n > 0 && !lleva(entrada.data(), n)) return Inflado{false, extraLocal};
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
        return dano(Dano::creceDeMas, r, 0, r.descomprimido);
      }
      if (!lleva(salida.data(), producido)) return Inflado{false, extraLocal};
    }
    if (z == Z_STREAM_END) {
      fin = true;
    } else if (z == Z_MEM_ERROR) {
      return ilegible(r, "no hay memoria suficiente");
    } else if (z != Z_OK && z != Z_BUF_ERROR) {
      return dano(Dano::datosInvalidos, r);
    } else if (flujo.avail_in == 0 && leido == r.comprimido && producido == 0) {
      return dano(Dano::datosSiguen, r, 0, r.comprimido);
    }
  }
  if (flujo.avail_in != 0 || leido != r.comprimido) {
    return dano(Dano::datosAcaban, r, 0, r.comprimido);
  }
  if (total != r.descomprimido) return dano(Dano::tamanoDistinto, r, total, r.descomprimido);
  if (crc != r.crc) return dano(Dano::crc, r);
  return inflado;
}
