// Bounds from the records alone, then integrity entry by entry.
#include "integridad.h"

#include <algorithm>

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

std::string compruebaSolapes(const std::vector<Registro>& registros) {
  // Entries that share their bytes would make one entry's data count, and cost, as many
  // times as it is named: no writer does that.
  std::vector<const Registro*> orden;
  orden.reserve(registros.size());
  for (const Registro& r : registros) orden.push_back(&r);
  std::sort(orden.begin(), orden.end(), [](const Registro* a, const Registro* b) {
    return a->desplazamiento < b->desplazamiento;
  });
  for (std::size_t i = 0; i + 1 < orden.size(); ++i) {
    const Registro& r = *orden[i];
    const std::uint64_t hueco = orden[i + 1]->desplazamiento - r.desplazamiento;
    const std::uint64_t cabecera = kCabeceraLocal + r.bruto.size();
    if (hueco < cabecera || hueco - cabecera < r.comprimido) {
      return "El archivo ZIP está dañado: la entrada " + r.nombre + " se solapa con la entrada " +
             orden[i + 1]->nombre + ".";
    }
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
  std::string solape = compruebaSolapes(registros);
  if (!solape.empty()) return solape;
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
