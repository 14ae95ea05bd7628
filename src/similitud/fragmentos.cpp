// Shared fragments: how they grow, which count, and how they are merged.
#include "fragmentos.h"

#include <algorithm>
#include <tuple>

namespace {

void extiende(Tramo& t, const Marca& m) {
  t.desde = std::min<std::size_t>(t.desde, m.desde);
  t.hasta = std::max<std::size_t>(t.hasta, m.hasta);
}

bool contiguos(const Tramo& x, const Tramo& y) {
  return x.archivo == y.archivo && y.desde <= x.hasta + 1 && x.desde <= y.hasta + 1;
}

bool cerca(const Posicion& p, std::uint32_t ultima, const Tramo& t) {
  if (p.marca <= ultima || p.marca - ultima > kHueco + 1 || p.archivo != t.archivo) return false;
  // Lines of code between the last mark's end and this one's start.
  const Huellas& h = p.huellas;
  const std::size_t base = h.lineas[p.archivo];
  std::size_t codigo = 0;
  for (std::size_t l = h.marcas[ultima].hasta + 1; l < h.marcas[p.marca].desde; ++l) {
    codigo += h.codigo[base + l - 1];
    if (codigo > kHuecoLineas) return false;
  }
  return true;
}

}  // namespace

bool continua(const Cadena& c, const Posicion& a, const Posicion& b) {
  return c.abierta && cerca(a, c.ultimaA, c.fragmento.a) && cerca(b, c.ultimaB, c.fragmento.b);
}

void agrega(Cadena& c, const Posicion& a, const Posicion& b) {
  const Marca& ma = a.huellas.marcas[a.marca];
  const Marca& mb = b.huellas.marcas[b.marca];
  if (continua(c, a, b)) {
    extiende(c.fragmento.a, ma);
    extiende(c.fragmento.b, mb);
    ++c.marcas;
  } else {
    c.abierta = true;
    c.marcas = 1;
    c.fragmento = {{a.archivo, ma.desde, ma.hasta}, {b.archivo, mb.desde, mb.hasta}};
  }
  c.ultimaA = a.marca;
  c.ultimaB = b.marca;
}

bool cuenta(const Cadena& c, bool terminaA, bool terminaB) {
  return c.abierta &&
         (c.marcas >= kMarcasFragmento || (c.completaA && c.completaB && terminaA && terminaB));
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
