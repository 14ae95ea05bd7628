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

std::vector<Fragmento> fusiona(std::vector<Fragmento> fragmentos) {
  // Any two that touch on both sides become one, until none do: the same fragments whichever
  // side is a and in whatever order they came.
  std::sort(fragmentos.begin(), fragmentos.end(), [](const Fragmento& x, const Fragmento& y) {
    return std::tie(x.a.archivo, x.a.desde, x.a.hasta, x.b.archivo, x.b.desde, x.b.hasta) <
           std::tie(y.a.archivo, y.a.desde, y.a.hasta, y.b.archivo, y.b.desde, y.b.hasta);
  });
  for (bool cambia = true; cambia;) {
    cambia = false;
    for (std::size_t i = 0; i < fragmentos.size(); ++i) {
      for (std::size_t j = i + 1; j < fragmentos.size();) {
        Fragmento &x = fragmentos[i], &y = fragmentos[j];
        if (contiguos(x.a, y.a) && contiguos(x.b, y.b)) {
          for (auto [t, u] : {std::pair<Tramo*, const Tramo*>{&x.a, &y.a}, {&x.b, &y.b}}) {
            t->desde = std::min(t->desde, u->desde);
            t->hasta = std::max(t->hasta, u->hasta);
          }
          fragmentos.erase(fragmentos.begin() + static_cast<std::ptrdiff_t>(j));
          cambia = true;
        } else {
          ++j;
        }
      }
    }
  }
  std::sort(fragmentos.begin(), fragmentos.end(), [](const Fragmento& x, const Fragmento& y) {
    return std::tie(x.a.archivo, x.a.desde, x.a.hasta, x.b.archivo, x.b.desde, x.b.hasta) <
           std::tie(y.a.archivo, y.a.desde, y.a.hasta, y.b.archivo, y.b.desde, y.b.hasta);
  });
  return fragmentos;
}

std::size_t largoDe(const Fragmento& f) {
  return std::min(f.a.hasta - f.a.desde, f.b.hasta - f.b.desde) + 1;
}
