// The comparison: an index from hash to participants; each participant's marks walked in order
// against every later participant that shares them, growing the fragments they share; the
// pairs, and the groups of flagged pairs.
#include "comparacion.h"

#include "fragmentos.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <utility>

namespace {

// One hash of one participant: how many of its own marks have it, and where they are listed
// in its `porHash`.
struct Entrada {
  std::uint32_t hash, participante, veces, desde;
};

// What the comparison needs of one participant, besides its marks.
struct Propio {
  std::vector<bool> propia;  // by mark: neither of the template nor shared by most
  std::vector<std::pair<std::uint32_t, std::uint32_t>> porHash;  // own marks: (hash, mark)
  std::size_t lineas = 0, plantilla = 0;  // lines of code, and those left out as template
};

// A pair while the first one's marks are walked.
struct Estado {
  bool tocado = false;
  Cadena cadena;
  std::uint64_t marcas = 0;  // marks of each side within fragments that count
  std::vector<Fragmento> fragmentos;
};

std::vector<std::uint32_t> hashesDe(const Huellas& h) {
  std::vector<std::uint32_t> hashes;
  hashes.reserve(h.marcas.size());
  for (const Marca& m : h.marcas) hashes.push_back(m.hash);
  std::sort(hashes.begin(), hashes.end());
  return hashes;
}

bool contiene(const std::vector<std::uint32_t>& ordenados, std::uint32_t hash) {
  return std::binary_search(ordenados.begin(), ordenados.end(), hash);
}

bool empiezaArchivo(const Huellas& h, std::size_t m) {
  return std::binary_search(h.inicios.begin(), h.inicios.end(), static_cast<std::uint32_t>(m));
}

// Whether mark m starts (or ends) a stretch of own marks: its file's first (last) mark, or one
// after (before) a mark left out.
bool empiezaTramo(const Huellas& h, const Propio& p, std::size_t m) {
  return m == 0 || !p.propia[m - 1] || empiezaArchivo(h, m);
}

bool terminaTramo(const Huellas& h, const Propio& p, std::size_t m) {
  return m + 1 == h.marcas.size() || !p.propia[m + 1] || empiezaArchivo(h, m + 1);
}

// `fuera`: the hashes of the template and of what most participants share, sorted.
Propio propioDe(const Huellas& h, const std::vector<std::uint32_t>& fuera) {
  Propio p;
  p.propia.resize(h.marcas.size());
  std::vector<bool> suya(h.codigo.size()), ajena(h.codigo.size());
  for (std::size_t m = 0, archivo = 0; m < h.marcas.size(); ++m) {
    while (archivo + 1 < h.archivos() && m >= h.inicios[archivo + 1]) ++archivo;
    const Marca& x = h.marcas[m];
    p.propia[m] = !contiene(fuera, x.hash);
    if (p.propia[m]) p.porHash.emplace_back(x.hash, static_cast<std::uint32_t>(m));
    std::vector<bool>& cubierta = p.propia[m] ? suya : ajena;
    for (std::size_t l = x.desde; l <= x.hasta; ++l) cubierta[h.lineas[archivo] + l - 1] = true;
  }
  std::sort(p.porHash.begin(), p.porHash.end());
  // A line of code left out is one that only marks of the template or of most cover.
  for (std::size_t l = 0; l < h.codigo.size(); ++l) {
    p.lineas += h.codigo[l];
    p.plantilla += h.codigo[l] && ajena[l] && !suya[l];
  }
  return p;
}

void cierra(Estado& e, const Huellas& a, const Propio& pa, const Huellas& b, const Propio& pb) {
  const Cadena& c = e.cadena;
  if (cuenta(c, terminaTramo(a, pa, c.ultimaA), terminaTramo(b, pb, c.ultimaB))) {
    e.marcas += c.marcas;
    e.fragmentos.push_back(c.fragmento);
  }
  e.cadena.abierta = false;
}

std::size_t raiz(std::vector<std::size_t>& padre, std::size_t x) {
  while (padre[x] != x) x = padre[x] = padre[padre[x]];
  return x;
}

std::vector<std::vector<std::size_t>> gruposDe(const std::vector<Par>& pares, std::size_t n) {
  std::vector<std::size_t> padre(n);
  std::iota(padre.begin(), padre.end(), 0);
  for (const Par& p : pares) {
    if (p.aviso) padre[raiz(padre, p.a)] = raiz(padre, p.b);
  }
  std::vector<std::vector<std::size_t>> porRaiz(n);
  for (std::size_t i = 0; i < n; ++i) porRaiz[raiz(padre, i)].push_back(i);
  std::vector<std::vector<std::size_t>> grupos;
  for (auto& g : porRaiz) {
    if (g.size() >= 3) grupos.push_back(std::move(g));
  }
  std::sort(grupos.begin(), grupos.end());
  return grupos;
}

}  // namespace

Comparacion compara(const std::vector<Huellas>& participantes, const std::vector<bool>& anteriores,
                    const Huellas* plantilla) {
  const std::size_t n = participantes.size();
  const auto anterior = [&](std::size_t i) { return i < anteriores.size() && anteriores[i]; };
  std::vector<std::uint32_t> excluidos;
  if (plantilla != nullptr) {
    excluidos = hashesDe(*plantilla);
    excluidos.erase(std::unique(excluidos.begin(), excluidos.end()), excluidos.end());
  }

  // Each hash's participants; what most of this year's share is taken as template.
  std::vector<Entrada> entradas;
  for (std::size_t p = 0; p < n; ++p) {
    const std::vector<std::uint32_t> hashes = hashesDe(participantes[p]);
    for (std::size_t i = 0; i < hashes.size();) {
      std::size_t j = i;
      while (j < hashes.size() && hashes[j] == hashes[i]) ++j;
      if (!contiene(excluidos, hashes[i])) {
        entradas.push_back(
            {hashes[i], static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(j - i), 0});
      }
      i = j;
    }
  }
  std::sort(entradas.begin(), entradas.end(), [](const Entrada& x, const Entrada& y) {
    return std::tie(x.hash, x.participante) < std::tie(y.hash, y.participante);
  });
  std::size_t actuales = 0;
  for (std::size_t p = 0; p < n; ++p) actuales += !anterior(p);
  std::vector<std::uint32_t> comunes, compartidos;  // hashes left out; hashes two or more share
  std::vector<std::pair<std::uint32_t, std::uint32_t>> grupos;  // their entries
  for (std::size_t i = 0; i < entradas.size();) {
    std::size_t j = i, deEsteAno = 0;
    for (; j < entradas.size() && entradas[j].hash == entradas[i].hash; ++j) {
      deEsteAno += !anterior(entradas[j].participante);
    }
    if (deEsteAno >= 3 && 2 * deEsteAno > actuales) {
      comunes.push_back(entradas[i].hash);
    } else if (j - i >= 2) {
      compartidos.push_back(entradas[i].hash);
      grupos.emplace_back(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
    }
    i = j;
  }

  Comparacion c;
  c.plantillaDeducida = plantilla == nullptr && !comunes.empty();
  std::vector<std::uint32_t> fuera;
  std::merge(excluidos.begin(), excluidos.end(), comunes.begin(), comunes.end(),
             std::back_inserter(fuera));
  std::vector<Propio> propios;
  propios.reserve(n);
  for (std::size_t p = 0; p < n; ++p) {
    propios.push_back(propioDe(participantes[p], fuera));
    c.lineasTotales += propios[p].lineas;
    c.lineasComunes += propios[p].plantilla;
  }
  for (const auto& [desde, hasta] : grupos) {
    for (std::uint32_t e = desde; e < hasta; ++e) {
      const auto& porHash = propios[entradas[e].participante].porHash;
      entradas[e].desde = static_cast<std::uint32_t>(
          std::lower_bound(porHash.begin(), porHash.end(), std::make_pair(entradas[e].hash, 0u)) -
          porHash.begin());
    }
  }

  // Each participant's own marks in order, against every later participant that has them.
  std::vector<Estado> estados(n);
  std::vector<std::size_t> tocados;
  for (std::size_t a = 0; a < n; ++a) {
    const Huellas& ha = participantes[a];
    const Propio& pa = propios[a];
    for (std::uint32_t i = 0, archivoA = 0; i < ha.marcas.size(); ++i) {
      while (archivoA + 1 < ha.archivos() && i >= ha.inicios[archivoA + 1]) ++archivoA;
      if (!pa.propia[i]) continue;
      const auto g = std::lower_bound(compartidos.begin(), compartidos.end(), ha.marcas[i].hash);
      if (g == compartidos.end() || *g != ha.marcas[i].hash) continue;
      const auto [desde, hasta] = grupos[g - compartidos.begin()];
      for (std::uint32_t e = desde; e < hasta; ++e) {
        const std::size_t b = entradas[e].participante;
        if (b <= a || (anterior(a) && anterior(b))) continue;
        const Huellas& hb = participantes[b];
        const Propio& pb = propios[b];
        Estado& estado = estados[b];
        if (!estado.tocado) {
          estado.tocado = true;
          tocados.push_back(b);
        }
        // b's marks of this hash, in order: the first after the last one chained, if it
        // continues the fragment; otherwise a new fragment from the first.
        const auto primera = pb.porHash.begin() + entradas[e].desde;
        const auto ultima = primera + entradas[e].veces;
        Cadena& cadena = estado.cadena;
        auto j = primera;
        if (cadena.abierta) {
          j = std::upper_bound(primera, ultima, std::make_pair(ha.marcas[i].hash, cadena.ultimaB));
          if (j == ultima) j = primera;
        }
        const Posicion enA{ha, i, archivoA}, enB{hb, j->second, hb.archivoDe(j->second)};
        if (!continua(cadena, enA, enB)) {
          cierra(estado, ha, pa, hb, pb);
          cadena.completaA = empiezaTramo(ha, pa, i);
          cadena.completaB = empiezaTramo(hb, pb, j->second);
        }
        agrega(cadena, enA, enB);
      }
    }
    std::sort(tocados.begin(), tocados.end());
    for (std::size_t b : tocados) {
      Estado& estado = estados[b];
      cierra(estado, ha, pa, participantes[b], propios[b]);
      const std::uint64_t na = pa.porHash.size(), nb = propios[b].porHash.size();
      Par p;
      p.a = a;
      p.b = b;
      p.similitud = static_cast<int>(
          100 * (std::min(estado.marcas, na) + std::min(estado.marcas, nb)) / (na + nb));
      p.fragmentos = une(std::move(estado.fragmentos));
      for (const Fragmento& f : p.fragmentos) p.fragmento = std::max(p.fragmento, largoDe(f));
      p.aviso = p.similitud >= kSimilitudAviso || p.fragmento >= kFragmentoAviso;
      if (p.similitud >= kSimilitudListada || p.aviso) {
        p.lineasA = pa.lineas - pa.plantilla;
        p.lineasB = propios[b].lineas - propios[b].plantilla;
        c.pares.push_back(std::move(p));
      }
      estado = Estado();
    }
    tocados.clear();
  }
  std::stable_sort(c.pares.begin(), c.pares.end(),
                   [](const Par& x, const Par& y) { return x.similitud > y.similitud; });
  c.grupos = gruposDe(c.pares, n);
  return c;
}
