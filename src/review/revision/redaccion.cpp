// The sentences of damage, one per kind.
#include "redaccion.h"

namespace {

constexpr std::size_t kNombresListados = 10;

}  // namespace

std::string enUnidades(std::uint64_t bytes) {
  if (bytes != 0 && bytes % (std::uint64_t{1} << 30) == 0)
    return std::to_string(bytes >> 30) + " GiB";
  if (bytes != 0 && bytes % (std::uint64_t{1} << 20) == 0)
    return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

std::string enumera(const std::vector<std::string>& nombres) {
  std::string texto;
  for (std::size_t i = 0; i < nombres.size() && i < kNombresListados; ++i) {
    texto += (i > 0 ? ", " : "") + nombres[i];
  }
  if (nombres.size() > kNombresListados) {
    texto += " y " + std::to_string(nombres.size() - kNombresListados) + " más";
  }
  return texto;
}

std::string redactaDano(const DanoZip& d, const std::string& archivo) {
  const std::string entrada = "la entrada " + d.entrada;
  const std::string danado = archivo + " está dañado: ";
  const std::string hallado = std::to_string(d.hallado), declarado = std::to_string(d.declarado);
  switch (d.tipo) {
    case Dano::ilegible:
      return "No se ha podido leer " + (d.entrada.empty() ? "el archivo" : entrada) + ": " +
             d.razon;
    case Dano::noEsZip:
      return "No es un archivo ZIP";
    case Dano::sinDirectorio:
      return archivo + " está truncado o dañado: no se encuentra su directorio central";
    case Dano::directorioIlegible:
      return danado + "no se puede leer su directorio central";
    case Dano::directorioFuera:
      return archivo + " está truncado o dañado: su directorio central no está donde dice";
    case Dano::directorioGrande:
      return "El directorio central del archivo ZIP ocupa demasiado (" + hallado + " bytes)";
    case Dano::enPartes:
      return archivo + " está dividido en varias partes";
    case Dano::demasiadas:
      return archivo + " tiene demasiadas entradas (" + hallado + ", más de " +
             std::to_string(d.limite) + ")";
    case Dano::cifrada:
      return "La entrada " + d.entrada + " está cifrada";
    case Dano::entradaGrande:
      return "La entrada " + d.entrada + " ocupa más de " + enUnidades(d.limite) + " descomprimida";
    case Dano::totalGrande:
      return "Las entradas ocupan más de " + enUnidades(d.limite) + " descomprimidas";
    case Dano::imposible:
      return danado + entrada + " declara " + declarado +
             " bytes descomprimida, más de lo que deflate puede dar con los " + hallado +
             " que ocupa comprimida";
    case Dano::solape:
      return danado + entrada + " se solapa con la entrada " + d.otra;
    case Dano::cabeceraLocal:
      return danado + "la cabecera local de " + entrada + " no es válida";
    case Dano::cortada:
      return archivo + " está truncado: los datos de " + entrada + " se cortan antes de su final";
    case Dano::metodo:
      return archivo + " usa un método de compresión que no se puede leer (" + hallado + ") en " +
             entrada;
    case Dano::guardadaDistinta:
      return danado + entrada + " guarda " + hallado + " bytes y declara " + declarado;
    case Dano::creceDeMas:
      return danado + entrada + " se descomprime a más de los " + declarado + " bytes que declara";
    case Dano::datosInvalidos:
      return danado + "los datos comprimidos de " + entrada + " no son válidos";
    case Dano::datosSiguen:
      return danado + "los datos comprimidos de " + entrada + " siguen más allá de los " +
             declarado + " bytes que declara";
    case Dano::datosAcaban:
      return danado + "los datos comprimidos de " + entrada + " terminan antes de los " +
             declarado + " bytes que declara";
    case Dano::tamanoDistinto:
      return danado + entrada + " se descomprime a " + hallado + " bytes y declara " + declarado;
    case Dano::crc:
      return danado + entrada + " no coincide con su CRC-32";
  }
  return danado + entrada;
}
