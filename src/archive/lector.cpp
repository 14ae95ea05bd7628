// The ZIP reader: its directory and its entries, over any origin of bytes.
#include "lector.h"

LectorZip::LectorZip(std::shared_ptr<Origen> origen, Directorio directorio)
    : origen(std::move(origen)), directorio(std::move(directorio)) {}

plataforma::Resultado<LectorZip, DanoZip> LectorZip::abre(std::shared_ptr<Origen> origen,
                                                          std::size_t maximo) {
  plataforma::Resultado<Directorio, DanoZip> directorio = leeDirectorio(*origen, maximo);
  if (!directorio) return std::move(directorio).error();
  return LectorZip(std::move(origen), std::move(*directorio));
}

plataforma::Resultado<Inflado, DanoZip> LectorZip::infla(std::size_t i, Inflador& inflador,
                                                         const Inflador::Bloque& bloque) const {
  return inflador.infla(*origen, directorio.registros[i], bloque);
}

plataforma::Resultado<std::optional<std::string>, DanoZip> LectorZip::lee(
    std::size_t i, Inflador& inflador, std::size_t limite) const {
  const Registro& r = directorio.registros[i];
  if (r.descomprimido > limite) return std::optional<std::string>();
  std::string datos;
  datos.reserve(static_cast<std::size_t>(r.descomprimido));
  plataforma::Resultado<Inflado, DanoZip> inflado =
      infla(i, inflador, [&datos](const char* bloque, std::size_t n) {
        datos.append(bloque, n);
        return true;
      });
  if (!inflado) return std::move(inflado).error();
  return std::optional<std::string>(std::move(datos));
}
