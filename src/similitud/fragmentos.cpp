// Shared fragments: how they grow, which count, and how they are merged.
#include "fragmentos.h"

#include <algorithm>
#include <tuple>

namespace {

bool contiguos(const Tramo& x, const Tramo& y) {
  return x.archivo == y.archivo && y.desde <= x.hasta + 1 && x.desde <= y.hasta + 1;
}

}  // namespace

bool seguidas(const Lugar& antes, const Lugar& despues) {
  return despues.marca > antes.marca && despues.archivo == antes.archivo &&
         despues.rango - antes.rango <= kHueco + 1 &&
         (despues.antes <= antes.despues || despues.antes - antes.despues <= kHuecoLineas);
}

bool continua(const Cadena& c, const Lugar& a, const Lugar& b) {
  return c.abierta && seguidas(c.ultimaA, a) && seguidas(c.ultimaB, b);
}

void agrega(Cadena& c, const Lugar& a, const Lugar& b, bool sigue) {
  if (sigue) {
    ++c.marcas;
  } else {
    c.abierta = true;
    c.completa = a.inicio && b.inicio;
    c.marcas = 1;
    c.desdeA = a.desde;
    c.desdeB = b.desde;
  }
  c.ultimaA = a;
  c.ultimaB = b;
}

bool cuenta(const Cadena& c) {
  return c.abierta &&
         (c.marcas >= kMarcasFragmento || (c.completa && c.ultimaA.fin && c.ultimaB.fin));
}

Fragmento fragmentoDe(const Cadena& c) {
  return {{c.ultimaA.archivo, std::min(c.desdeA, c.ultimaA.desde), c.ultimaA.hasta},
          {c.ultimaB.archivo, std::min(c.desdeB, c.ultimaB.desde), c.ultimaB.hasta}};
}

std::vector<Fragmento> une(std::vector<Fragmento> fragmentos) {
  std::sort(fragmentos.begin(), fragmentos.end(), [](const Fragmento& x, const Fragmento& y) {
    return std::tie(x.a.archivo, x.a.desde, x.a.hasta, x.b.archivo, x.b.desde, x.b.hasta) <
           std::tie(y.a.archivo, y.a.desde, y.a.hasta, y.b.archivo, y.b.desde, y.b.hasta);
  });
  std::vector<Fragmento> unidos;
  for (const Fragmento& f : fragmentos) {
    if (!unidos.empty() && contiguos(unidos.back().a, f.a) && contiguos(unidos.back().b, f.b)) {
      Fragmento& u = unidos.back();
      u.a.hasta = std::max(u.a.hasta, f.a.hasta);
      u.b.desde = std::min(u.b.desde, f.b.desde);
      u.b.hasta = std::max(u.b.hasta, f.b.hasta);
    } else {
      unidos.push_back(f);
    }
  }
  return unidos;
}

std::size_t largoDe(const Fragmento& f) {
  return std::min(f.a.hasta - f.a.desde, f.b.hasta - f.b.desde) + 1;
}
