// Bounds from the records alone, then integrity entry by entry.
#include "integridad.h"

std::string compruebaLimites(const Registro& r, std::uint64_t& total) {
  if (r.cifrado()) return "La entrada " + r.nombre + " está cifrada.";
  if (r.descomprimido > kLimiteTotal) {
    return "La entrada " + r.nombre + " ocupa más de 1 GiB descomprimida.";
  }
  if (r.descomprimido > kLimiteTotal - total) {
    return "Las entradas ocupan más de 1 GiB descomprimidas.";
  }
  total += r.descomprimido;
  // descomprimido > 200 × comprimido, without the product.
  const std::uint64_t veces = r.descomprimido / kRazonBomba;
  if (veces > r.comprimido || (veces == r.comprimido && r.descomprimido % kRazonBomba != 0)) {
    return "Posible bomba ZIP: la entrada " + r.nombre + " se descomprime a " +
           std::to_string(r.descomprimido) + " bytes, más de 200 veces los " +
           std::to_string(r.comprimido) + " que ocupa comprimida.";
  }
  return {};
}

std::string compruebaIntegridad(LectorZip& lector, std::vector<unsigned>& extras) {
  const std::vector<Registro>& registros = lector.registros();
  std::uint64_t total = 0;
  for (const Registro& r : registros) {
    std::string limite = compruebaLimites(r, total);
    if (!limite.empty()) return limite;
  }
  // No entry inflates past its recorded size, so all of them stay within the bound above.
  extras.assign(registros.size(), 0);
  for (std::size_t i = 0; i < registros.size(); ++i) {
    std::string error;
    if (!lector.inflaEntrada(
            i, [](const char*, std::size_t) { return true; }, extras[i], error)) {
      return error + ".";
    }
  }
  return {};
}
