// The checker's fingerprint: its fixed header fields and its order and naming of entries.
#include "huella_comprobador.h"

#include "formato_zip.h"

#include <cstdio>

namespace {

std::string hex(unsigned long valor, int cifras) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "0x%0*lX", cifras, valor);
  return texto;
}

// The first header field that comprobador would have written otherwise; nothing when none.
std::optional<std::string> campoDistinto(const Registro& r, unsigned extraLocal,
                                         unsigned long fecha) {
  const std::string entrada = "la entrada " + r.nombre;
  const bool zip64 = r.descomprimido >= kTamanoZip64;
  if (r.version != kVersionCreadora) {
    return entrada + " la ha escrito otro programa (versión " + hex(r.version, 4) +
           "; el comprobador pone " + hex(kVersionCreadora, 4) + ")";
  }
  const unsigned necesaria = zip64 ? kVersionNecesariaZip64 : kVersionNecesaria;
  if (r.versionNecesaria != necesaria) {
    return entrada + " pide la versión " + std::to_string(r.versionNecesaria) +
           " para extraerse (el comprobador pone " + std::to_string(necesaria) + ")";
  }
  if (r.indicadores != kIndicadores) {
    return entrada + " tiene los indicadores " + hex(r.indicadores, 4) + " (el comprobador pone " +
           hex(kIndicadores, 4) + ")";
  }
  if (r.metodo != kMetodo) {
    return entrada + " tiene el método de compresión " + std::to_string(r.metodo) +
           " (el comprobador usa " + std::to_string(kMetodo) + ")";
  }
  if ((r.fechaDos & 0xFFFF) != 0) {
    const unsigned long t = r.fechaDos & 0xFFFF;
    char hora[32];
    std::snprintf(hora, sizeof hora, "%02lu:%02lu:%02lu", t >> 11, (t >> 5) & 63, (t & 31) * 2);
    return entrada + " tiene la hora " + hora + " (el comprobador pone 00:00:00)";
  }
  if ((r.fechaDos >> 16) != fecha) {
    return entrada + " tiene otra fecha que la primera (" + fechaDos(r.fechaDos) + ")";
  }
  if (r.extra != 0 || (extraLocal != 0 && !zip64)) return entrada + " tiene un campo extra";
  if (r.comentario != 0) return entrada + " tiene un comentario";
  if (r.atributosExternos != 0) {
    return entrada + " tiene los atributos externos " + hex(r.atributosExternos, 8) +
           " (el comprobador pone 0)";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> diferenciaConComprobador(const LectorZip& lector,
                                                    const std::vector<unsigned>& extrasLocales,
                                                    const std::vector<std::string>& esperadas) {
  const std::string prefijo = "No lo ha empaquetado el comprobador: ";
  if (lector.comentario() != 0) return prefijo + "el archivo tiene un comentario";
  const std::vector<Registro>& registros = lector.registros();
  if (registros.empty()) return prefijo + "el archivo está vacío";
  for (std::size_t i = 0; i < registros.size() || i < esperadas.size(); ++i) {
    if (i >= registros.size()) return prefijo + "falta la entrada " + esperadas[i];
    const std::optional<std::string> campo =
        campoDistinto(registros[i], extrasLocales[i], registros[0].fechaDos >> 16);
    if (campo) return prefijo + *campo;
    if (i >= esperadas.size()) return prefijo + "sobra la entrada " + registros[i].nombre;
    if (registros[i].nombre != esperadas[i]) {
      return prefijo + "la entrada " + registros[i].nombre + " está donde el comprobador pondría " +
             esperadas[i];
    }
  }
  return std::nullopt;
}
