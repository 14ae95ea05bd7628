// Bounds from the records alone, then integrity entry by entry.
#include "integridad.h"

#include <algorithm>

plataforma::Resultado<std::uint64_t, DanoZip> compruebaLimites(const Registro& r,
                                                               std::uint64_t total) {
  DanoZip dano{Dano::cifrada, r.nombre};
  if (r.cifrado()) return dano;
  dano.limite = kLimiteTotal;
  if (r.descomprimido > kLimiteTotal) {
    dano.tipo = Dano::entradaGrande;
    return dano;
  }
  if (r.descomprimido > kLimiteTotal - total) {
    dano.tipo = Dano::totalGrande;
    dano.entrada.clear();
    return dano;
  }
  // descomprimido > 1032 × comprimido, without the product: no deflate stream makes that,
  // however plain the content.
  const std::uint64_t veces = r.descomprimido / kDeflateMaximo;
  if (r.metodo == kMetodoDeflate &&
      (veces > r.comprimido || (veces == r.comprimido && r.descomprimido % kDeflateMaximo != 0))) {
    dano.tipo = Dano::imposible;
    dano.hallado = r.comprimido;
    dano.declarado = r.descomprimido;
    return dano;
  }
  return total + r.descomprimido;
}

plataforma::Resultado<void, DanoZip> compruebaSolapes(const std::vector<Registro>& registros) {
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
      DanoZip dano{Dano::solape, r.nombre, orden[i + 1]->nombre};
      return dano;
    }
  }
  return {};
}

plataforma::Resultado<std::vector<unsigned>, DanoZip> compruebaIntegridad(const LectorZip& lector,
                                                                          Inflador& inflador,
                                                                          const Guarda& guarda) {
  const std::vector<Registro>& registros = lector.registros();
  std::uint64_t total = 0;
  for (const Registro& r : registros) {
    plataforma::Resultado<std::uint64_t, DanoZip> suma = compruebaLimites(r, total);
    if (!suma) return std::move(suma).error();
    total = *suma;
  }
  plataforma::Resultado<void, DanoZip> solapes = compruebaSolapes(registros);
  if (!solapes) return std::move(solapes).error();
  // No entry inflates past its recorded size, so all of them stay within the bound above.
  std::vector<unsigned> extras(registros.size(), 0);
  for (std::size_t i = 0; i < registros.size(); ++i) {
    std::string* destino = guarda ? guarda(i) : nullptr;
    plataforma::Resultado<Inflado, DanoZip> inflado =
        lector.infla(i, inflador, [destino](const char* bloque, std::size_t n) {
          if (destino != nullptr) destino->append(bloque, n);
          return true;
        });
    if (!inflado) return std::move(inflado).error();
    extras[i] = inflado->extraLocal;
  }
  return extras;
}
