// The comparison: an index from hash to participants; each participant's marks walked in order
// against every later participant that shares them, growing the fragments they share; the
// pairs, and the groups of flagged pairs.
#include "comparacion.h"

#include "fragmentos.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <numeric>
#include <thread>
#include <tuple>
#include <utility>

namespace {

// A hash more than this share of the participants have (and more than kFrecuentesMinimo) is
// an idiom of the assignment, not evidence of who copied whom: it is left out of every pair,
// as the template is, though its lines are not counted as template.
constexpr std::size_t kFrecuentes = 20, kFrecuentesMinimo = 10;

// What is known of the hashes left out of the pairs: of the template (or of most participants),
// or frequent. An open-addressing table: looked up once for every mark of every participant.
class Ajenos {
 public:
  enum Clase : std::uint8_t { propia, plantilla, frecuente };

  Ajenos(const std::vector<std::uint32_t>& plantilla,
         const std::vector<std::uint32_t>& frecuentes) {
    std::size_t capacidad = 16;
    while (capacidad < 2 * (plantilla.size() + frecuentes.size())) capacidad *= 2;
    hashes_.resize(capacidad);
    clases_.resize(capacidad, propia);
    for (std::uint32_t h : plantilla) pon(h, Ajenos::plantilla);
    for (std::uint32_t h : frecuentes) pon(h, frecuente);
  }

  Clase de(std::uint32_t hash) const {
    for (std::size_t i = posicion(hash);; i = (i + 1) & (hashes_.size() - 1)) {
      if (clases_[i] == propia || hashes_[i] == hash) return clases_[i];
    }
  }

 private:
  std::size_t posicion(std::uint32_t hash) const {
    return static_cast<std::size_t>(hash * 0x9E3779B1u) & (hashes_.size() - 1);
  }

  void pon(std::uint32_t hash, Clase clase) {
    std::size_t i = posicion(hash);
    while (clases_[i] != propia && hashes_[i] != hash) i = (i + 1) & (hashes_.size() - 1);
    hashes_[i] = hash;
    if (clases_[i] == propia) clases_[i] = clase;
  }

  std::vector<std::uint32_t> hashes_;
  std::vector<Clase> clases_;
};

// One hash of one participant, and how many of its marks have it.
struct Entrada {
  std::uint32_t hash, participante, veces;
};

// A participant of a hash two or more share: how many of its marks have it, where they are in
// its `porHash`, and where the first one lies (the walk reads it here, not from afar).
struct Miembro {
  std::uint32_t participante, veces, desde;
  Lugar lugar;
};

// What the comparison needs of one participant, besides its marks.
struct Propio {
  std::vector<Lugar> lugares;  // its own marks (neither of the template nor shared by many)
  std::vector<std::pair<std::uint32_t, std::uint32_t>> porHash;  // (hash, index in lugares)
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

Propio propioDe(const Huellas& h, const Ajenos& ajenos) {
  Propio p;
  // Each mark's kind, and which lines marks of each kind cover.
  std::vector<Ajenos::Clase> clases(h.marcas.size());
  std::vector<bool> suya(h.codigo.size()), plantilla(h.codigo.size()), frecuente(h.codigo.size());
  for (std::size_t m = 0, archivo = 0; m < h.marcas.size(); ++m) {
    while (archivo + 1 < h.archivos() && m >= h.inicios[archivo + 1]) ++archivo;
    clases[m] = ajenos.de(h.marcas[m].hash);
    std::vector<bool>& cubierta = clases[m] == Ajenos::propia      ? suya
                                  : clases[m] == Ajenos::plantilla ? plantilla
                                                                   : frecuente;
    for (std::size_t l = h.marcas[m].desde; l <= h.marcas[m].hasta; ++l) {
      cubierta[h.lineas[archivo] + l - 1] = true;
    }
  }
  // A line of code left out is one that only marks of the template or of most cover. A line
  // that only frequent marks cover does not split a fragment: how many of the others come
  // before each line.
  std::vector<std::uint32_t> cortanAntes(h.codigo.size() + 1);
  for (std::size_t l = 0; l < h.codigo.size(); ++l) {
    p.lineas += h.codigo[l];
    p.plantilla += h.codigo[l] && plantilla[l] && !suya[l];
    const bool corta = h.codigo[l] && (suya[l] || plantilla[l] || !frecuente[l]);
    cortanAntes[l + 1] = cortanAntes[l] + corta;
  }
  std::uint32_t cortan = 0;  // marks that split, own or of the template
  for (std::size_t m = 0, archivo = 0; m < h.marcas.size(); ++m) {
    while (archivo + 1 < h.archivos() && m >= h.inicios[archivo + 1]) ++archivo;
    const Marca& x = h.marcas[m];
    if (clases[m] == Ajenos::propia) {
      const std::size_t base = h.lineas[archivo];
      Lugar l;
      l.marca = static_cast<std::uint32_t>(m);
      l.archivo = static_cast<std::uint32_t>(archivo);
      l.desde = x.desde;
      l.hasta = x.hasta;
      l.rango = cortan;
      l.antes = cortanAntes[base + x.desde - 1];
      l.despues = cortanAntes[base + x.hasta];
      // Stretches of own marks, between marks left out and where a fragment could not go on:
      // a copy of the whole participant matches each of them whole.
      const bool sigue =
          !p.lugares.empty() && p.lugares.back().marca + 1 == m && seguidas(p.lugares.back(), l);
      l.inicio = !sigue;
      if (!p.lugares.empty() && !sigue) p.lugares.back().fin = true;
      p.porHash.emplace_back(x.hash, static_cast<std::uint32_t>(p.lugares.size()));
      p.lugares.push_back(l);
    }
    cortan += clases[m] != Ajenos::frecuente;
  }
  if (!p.lugares.empty()) p.lugares.back().fin = true;
  std::sort(p.porHash.begin(), p.porHash.end());
  return p;
}

void cierra(Estado& e) {
  const Cadena& c = e.cadena;
  if (cuenta(c)) {
    e.marcas += c.marcas;
    e.fragmentos.push_back(fragmentoDe(c));
  }
  e.cadena.abierta = false;
}

// Sorts (hash << 32 | participant) keys by hash, keeping the order of keys of one hash: two
// passes of sixteen bits, faster than comparing for the half million marks of a course.
void ordenaPorHash(std::vector<std::uint64_t>& claves) {
  if (claves.size() < 65536) {  // the counts would cost more than sorting
    std::stable_sort(claves.begin(), claves.end(),
                     [](std::uint64_t x, std::uint64_t y) { return (x >> 32) < (y >> 32); });
    return;
  }
  std::vector<std::uint64_t> otras(claves.size());
  for (int desplazamiento : {32, 48}) {
    std::vector<std::size_t> cuenta(65537);
    for (std::uint64_t c : claves) ++cuenta[((c >> desplazamiento) & 0xFFFF) + 1];
    for (std::size_t i = 1; i < cuenta.size(); ++i) cuenta[i] += cuenta[i - 1];
    for (std::uint64_t c : claves) otras[cuenta[(c >> desplazamiento) & 0xFFFF]++] = c;
    claves.swap(otras);
  }
}

// How many threads the comparison takes: the machine's, up to four.
std::size_t hilos() { return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4); }

// Runs trabajo(i, hilo) for every i below n, on hilos() threads (hilo < hilos()). The first
// exception a thread throws is thrown here, once every thread has ended.
template <class Trabajo>
void enParalelo(std::size_t n, Trabajo trabajo) {
  std::atomic<std::size_t> siguiente{0};
  std::exception_ptr fallo;
  std::atomic<bool> fallado{false};
  const auto bucle = [&](std::size_t hilo) {
    try {
      for (std::size_t i; !fallado && (i = siguiente++) < n;) trabajo(i, hilo);
    } catch (...) {
      if (!fallado.exchange(true)) fallo = std::current_exception();
    }
  };
  {
    struct Unidos {  // joined however this scope is left
      std::vector<std::thread> hilos;
      ~Unidos() {
        for (std::thread& t : hilos) t.join();
      }
    } otros;
    // A thread costs more than comparing a few participants.
    const std::size_t cuantos = n >= 32 ? std::min(hilos(), n) : 1;
    for (std::size_t h = 1; h < cuantos; ++h) otros.hilos.emplace_back(bucle, h);
    bucle(0);
  }
  if (fallo) std::rethrow_exception(fallo);
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

// Whether participant x comes before y by their contents alone: each pair is walked from the
// first of the two, so that its result does not depend on the order they are given in.
bool antes(const Huellas& x, const Huellas& y) {
  if (x.marcas.size() != y.marcas.size()) return x.marcas.size() < y.marcas.size();
  for (std::size_t m = 0; m < x.marcas.size(); ++m) {
    const Marca &a = x.marcas[m], &b = y.marcas[m];
    if (a.hash != b.hash || a.desde != b.desde || a.hasta != b.hasta) {
      return std::tie(a.hash, a.desde, a.hasta) < std::tie(b.hash, b.desde, b.hasta);
    }
  }
  return std::tie(x.inicios, x.lineas, x.codigo) < std::tie(y.inicios, y.lineas, y.codigo);
}

// Participant a's pairs with every participant after it in `orden`: a's own marks walked in
// order against the members of each group they are in.
void recorre(std::size_t a, const std::vector<Huellas>& participantes,
             const std::vector<Propio>& propios, const std::vector<std::size_t>& orden,
             const std::vector<std::uint32_t>& compartidos,
             const std::vector<std::pair<std::uint32_t, std::uint32_t>>& grupos,
             const std::vector<Miembro>& miembros, const std::vector<bool>& anterior,
             std::vector<Estado>& estados, std::vector<Par>& pares) {
  const Huellas& ha = participantes[a];
  const Propio& pa = propios[a];
  std::vector<std::size_t> tocados;
  for (const Lugar& enA : pa.lugares) {
    const std::uint32_t hash = ha.marcas[enA.marca].hash;
    const auto g = std::lower_bound(compartidos.begin(), compartidos.end(), hash);
    if (g == compartidos.end() || *g != hash) continue;
    const auto [desde, hasta] = grupos[g - compartidos.begin()];
    // The group's members are in `orden`: the later ones follow a's.
    const auto primero = std::upper_bound(
        miembros.begin() + desde, miembros.begin() + hasta, orden[a],
        [&](std::size_t x, const Miembro& m) { return x < orden[m.participante]; });
    for (auto m = primero; m != miembros.begin() + hasta; ++m) {
      const std::size_t b = m->participante;
      if (anterior[a] && anterior[b]) continue;
      Estado& estado = estados[b];
      if (!estado.tocado) {
        estado.tocado = true;
        tocados.push_back(b);
      }
      // b's marks of this hash, in order: the first after the last one chained, if it
      // continues the fragment; otherwise a new fragment from the first.
      Cadena& cadena = estado.cadena;
      const Lugar* enB = &m->lugar;
      if (cadena.abierta && m->veces > 1) {
        const Propio& pb = propios[b];
        const auto primera = pb.porHash.begin() + m->desde;
        const auto ultima = primera + m->veces;
        // (Indices into lugares go as the marks do.)
        const auto j = std::upper_bound(
            primera, ultima, cadena.ultimaB.marca,
            [&](std::uint32_t marca, const auto& x) { return marca < pb.lugares[x.second].marca; });
        if (j != ultima) enB = &pb.lugares[j->second];
      }
      const bool sigue = continua(cadena, enA, *enB);
      if (!sigue) cierra(estado);
      agrega(cadena, enA, *enB, sigue);
    }
  }
  std::sort(tocados.begin(), tocados.end());
  for (std::size_t b : tocados) {
    Estado& estado = estados[b];
    cierra(estado);
    const std::uint64_t na = pa.lugares.size(), nb = propios[b].lugares.size();
    Par p;
    p.a = std::min(a, b);
    p.b = std::max(a, b);
    p.similitud = static_cast<int>(
        100 * (std::min(estado.marcas, na) + std::min(estado.marcas, nb)) / (na + nb));
    if (a > b) {
      for (Fragmento& f : estado.fragmentos) std::swap(f.a, f.b);
    }
    p.fragmentos = fusiona(std::move(estado.fragmentos));
    std::size_t compartidas = 0;
    for (const Fragmento& f : p.fragmentos) {
      p.fragmento = std::max(p.fragmento, largoDe(f));
      compartidas += largoDe(f);
    }
    p.aviso = (p.similitud >= kSimilitudAviso && compartidas >= kCompartidoAviso) ||
              p.fragmento >= kFragmentoAviso;
    if (p.similitud >= kSimilitudListada || p.aviso) {
      p.lineasA = propios[p.a].lineas - propios[p.a].plantilla;
      p.lineasB = propios[p.b].lineas - propios[p.b].plantilla;
      pares.push_back(std::move(p));
    }
    estado = Estado();
  }
}

// Each hash's participants, and how many marks each has of it: every mark's (hash,
// participant) in one array sorted by hash (participants in order within each hash), those
// of `excluidos` (sorted) left out.
std::vector<Entrada> indice(const std::vector<Huellas>& participantes,
                            const std::vector<std::uint32_t>& excluidos) {
  std::size_t total = 0;
  for (const Huellas& h : participantes) total += h.marcas.size();
  std::vector<std::uint64_t> claves;
  claves.reserve(total);
  for (std::size_t p = 0; p < participantes.size(); ++p) {
    for (const Marca& m : participantes[p].marcas) {
      claves.push_back(std::uint64_t{m.hash} << 32 | p);
    }
  }
  ordenaPorHash(claves);
  std::vector<Entrada> entradas;
  entradas.reserve(claves.size());
  for (std::size_t i = 0, e = 0; i < claves.size();) {
    std::size_t j = i;
    while (j < claves.size() && claves[j] == claves[i]) ++j;
    const auto hash = static_cast<std::uint32_t>(claves[i] >> 32);
    while (e < excluidos.size() && excluidos[e] < hash) ++e;
    if (e == excluidos.size() || excluidos[e] != hash) {
      entradas.push_back(
          {hash, static_cast<std::uint32_t>(claves[i]), static_cast<std::uint32_t>(j - i)});
    }
    i = j;
  }
  return entradas;
}

/// The index's hashes by what they say of a pair.
struct Clases {
  std::vector<std::uint32_t> comunes;      // taken as the template
  std::vector<std::uint32_t> frecuentes;   // idioms: too many have them to be evidence
  std::vector<std::uint32_t> compartidos;  // shared by two or more: evidence
  std::vector<std::pair<std::uint32_t, std::uint32_t>> grupos;  // the entries of each of those
};

Clases clasifica(const std::vector<Entrada>& entradas, const std::vector<bool>& anterior,
                 bool conPlantilla) {
  const std::size_t n = anterior.size();
  const std::size_t actuales =
      n - static_cast<std::size_t>(std::count(anterior.begin(), anterior.end(), true));
  Clases clases;
  for (std::size_t i = 0; i < entradas.size();) {
    std::size_t j = i, deEsteAno = 0;
    for (; j < entradas.size() && entradas[j].hash == entradas[i].hash; ++j) {
      deEsteAno += !anterior[entradas[j].participante];
    }
    // What most share is the template when none is given; with one given, only in a course
    // large enough that it cannot be a group of copies.
    const std::size_t minimo = conPlantilla ? kFrecuentesMinimo + 1 : 3;
    if (deEsteAno >= minimo && 2 * deEsteAno > actuales) {
      clases.comunes.push_back(entradas[i].hash);
    } else if (j - i > std::max(kFrecuentes * n / 100, kFrecuentesMinimo)) {
      clases.frecuentes.push_back(entradas[i].hash);
    } else if (j - i >= 2) {
      clases.compartidos.push_back(entradas[i].hash);
      clases.grupos.emplace_back(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
    }
    i = j;
  }
  return clases;
}

// The members of each group, with where their marks are (the groups come in order of hash,
// as each participant's own marks do), each group's in the participants' `orden`; `grupos`
// then bound each group's members instead of its entries.
std::vector<Miembro> miembrosDe(std::vector<std::pair<std::uint32_t, std::uint32_t>>& grupos,
                                const std::vector<Entrada>& entradas,
                                const std::vector<Propio>& propios,
                                const std::vector<std::size_t>& orden) {
  std::vector<std::size_t> cursor(propios.size());
  std::vector<Miembro> miembros;
  std::size_t cuantos = 0;
  for (const auto& [desde, hasta] : grupos) cuantos += hasta - desde;
  miembros.reserve(cuantos);
  for (auto& [desde, hasta] : grupos) {
    const auto primero = static_cast<std::uint32_t>(miembros.size());
    for (std::uint32_t e = desde; e < hasta; ++e) {
      const std::uint32_t p = entradas[e].participante;
      const auto& porHash = propios[p].porHash;
      while (porHash[cursor[p]].first < entradas[e].hash) ++cursor[p];
      miembros.push_back({p, entradas[e].veces, static_cast<std::uint32_t>(cursor[p]),
                          propios[p].lugares[porHash[cursor[p]].second]});
    }
    desde = primero;
    hasta = static_cast<std::uint32_t>(miembros.size());
    std::sort(miembros.begin() + desde, miembros.end(), [&](const Miembro& x, const Miembro& y) {
      return orden[x.participante] < orden[y.participante];
    });
  }
  return miembros;
}

}  // namespace

Comparacion compara(const std::vector<Huellas>& participantes, const std::vector<bool>& anteriores,
                    const Huellas* plantilla) {
  const std::size_t n = participantes.size();
  std::vector<bool> anterior(n);
  for (std::size_t i = 0; i < n && i < anteriores.size(); ++i) anterior[i] = anteriores[i];
  std::vector<std::uint32_t> excluidos;
  if (plantilla != nullptr) {
    excluidos = hashesDe(*plantilla);
    excluidos.erase(std::unique(excluidos.begin(), excluidos.end()), excluidos.end());
  }

  std::vector<Entrada> entradas = indice(participantes, excluidos);
  Clases clases = clasifica(entradas, anterior, plantilla != nullptr);

  Comparacion c;
  c.plantillaDeducida = plantilla == nullptr && !clases.comunes.empty();
  std::vector<std::uint32_t> fuera;
  std::merge(excluidos.begin(), excluidos.end(), clases.comunes.begin(), clases.comunes.end(),
             std::back_inserter(fuera));
  const Ajenos ajenos(fuera, clases.frecuentes);
  std::vector<Propio> propios(n);
  enParalelo(n,
             [&](std::size_t p, std::size_t) { propios[p] = propioDe(participantes[p], ajenos); });
  for (const Propio& p : propios) {
    c.lineasTotales += p.lineas;
    c.lineasComunes += p.plantilla;
  }
  // Where each participant comes in the order of their contents.
  std::vector<std::size_t> porContenido(n), orden(n);
  std::iota(porContenido.begin(), porContenido.end(), 0);
  std::sort(porContenido.begin(), porContenido.end(), [&](std::size_t x, std::size_t y) {
    return antes(participantes[x], participantes[y]);
  });
  for (std::size_t i = 0; i < n; ++i) orden[porContenido[i]] = i;
  const std::vector<Miembro> miembros = miembrosDe(clases.grupos, entradas, propios, orden);
  entradas = std::vector<Entrada>();

  // Each participant against every later one, on a few threads, each with its own pairs' state.
  struct DeHilo {
    std::vector<Estado> estados;
    std::vector<Par> pares;
  };
  std::vector<DeHilo> deHilo(hilos());
  for (DeHilo& d : deHilo) d.estados.resize(n);
  enParalelo(n, [&](std::size_t a, std::size_t hilo) {
    recorre(a, participantes, propios, orden, clases.compartidos, clases.grupos, miembros, anterior,
            deHilo[hilo].estados, deHilo[hilo].pares);
  });
  for (DeHilo& d : deHilo) {
    for (Par& p : d.pares) c.pares.push_back(std::move(p));
  }
  std::sort(c.pares.begin(), c.pares.end(), [](const Par& x, const Par& y) {
    return std::tie(y.similitud, x.a, x.b) < std::tie(x.similitud, y.a, y.b);
  });
  c.grupos = gruposDe(c.pares, n);
  return c;
}
