// The checker's fingerprint: its fixed header fields and its order and naming of entries.
#include "procedencia.h"

#include "archivo_zip.h"

#include <cstdio>

namespace {

std::string hex(unsigned long valor, int cifras) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "0x%0*lX", cifras, valor);
  return texto;
}

// The first header field that comprobador would have written otherwise.
std::string campoDistinto(const Cabecera& c, unsigned long extraLocal, unsigned long fecha) {
  const unz_file_info64& i = c.info;
  const std::string entrada = "la entrada " + c.nombre;
  const bool zip64 = i.uncompressed_size >= kTamanoZip64;
  if (i.version != 0x24) {
    return entrada + " la ha escrito otro programa (versión " + hex(i.version, 4) +
           "; el comprobador pone 0x0024)";
  }
  if (i.version_needed != (zip64 ? 45u : 20u)) {
    return entrada + " pide la versión " + std::to_string(i.version_needed) +
           " para extraerse (el comprobador pone " + (zip64 ? "45" : "20") + ")";
  }
  if (i.flag != 0x0802) {
    return entrada + " tiene los indicadores " + hex(i.flag, 4) + " (el comprobador pone 0x0802)";
  }
  if (i.compression_method != 8) {
    return entrada + " tiene el método de compresión " + std::to_string(i.compression_method) +
           " (el comprobador usa 8)";
  }
  if ((i.dosDate & 0xFFFF) != 0) {
    char hora[32];
    std::snprintf(hora, sizeof hora, "%02u:%02u:%02u", i.tmu_date.tm_hour, i.tmu_date.tm_min,
                  i.tmu_date.tm_sec);
    return entrada + " tiene la hora " + hora + " (el comprobador pone 00:00:00)";
  }
  if ((i.dosDate >> 16) != fecha) {
    return entrada + " tiene otra fecha que la primera (" + fechaDos(i.dosDate) + ")";
  }
  if (i.size_file_extra != 0 || (extraLocal != 0 && !zip64)) {
    return entrada + " tiene un campo extra";
  }
  if (i.size_file_comment != 0) return entrada + " tiene un comentario";
  if (i.external_fa != 0) {
    return entrada + " tiene los atributos externos " + hex(i.external_fa, 8) +
           " (el comprobador pone 0)";
  }
  return {};
}

}  // namespace

std::string diferenciaConComprobador(const LectorZip& lector,
                                     const std::vector<unsigned long>& extrasLocales,
                                     const std::vector<std::string>& esperadas) {
  const std::string prefijo = "No lo ha empaquetado el comprobador: ";
  if (lector.comentario() != 0) return prefijo + "el archivo tiene un comentario.";
  const std::vector<Cabecera>& cabeceras = lector.cabeceras();
  if (cabeceras.empty()) return prefijo + "el archivo está vacío.";
  for (std::size_t i = 0; i < cabeceras.size() || i < esperadas.size(); ++i) {
    if (i >= cabeceras.size()) return prefijo + "falta la entrada " + esperadas[i] + ".";
    const std::string campo =
        campoDistinto(cabeceras[i], extrasLocales[i], cabeceras[0].info.dosDate >> 16);
    if (!campo.empty()) return prefijo + campo + ".";
    if (i >= esperadas.size()) return prefijo + "sobra la entrada " + cabeceras[i].nombre + ".";
    if (cabeceras[i].nombre != esperadas[i]) {
      return prefijo + "la entrada " + cabeceras[i].nombre + " está donde el comprobador pondría " +
             esperadas[i] + ".";
    }
  }
  return {};
}
