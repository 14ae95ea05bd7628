// Fingerprints: runs of normalised tokens hashed, and winnowed.
#include "huellas.h"

#include "normalizacion.h"

#include <algorithm>

static_assert(kVentana >= 1 && kVentana <= kK, "the marks kept must cover every token");

namespace {

// The finaliser of SplitMix64: every bit of the run's hash reaches the 32 kept.
std::uint32_t mezcla(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  return static_cast<std::uint32_t>(x >> 32);
}

constexpr std::uint64_t kBase = 0x100000001B3ull;

// A run of fewer kinds of token than this is a list, not code of anyone's own.
constexpr std::size_t kDistintos = 5;

// Whether the run of `largo` tokens at p says nothing of who wrote it: one that repeats a
// short stretch (a list of calls, a table of literals, fields of one type), or holds only a
// few kinds of token (`ID = NUM ; ID = ID ; ID = NUM ;`). Any two programs have those once
// names and values are gone.
bool anodina(const std::vector<Simbolo>& s, std::size_t p, std::size_t largo) {
  for (std::size_t q = 1; q <= largo / 2; ++q) {
    std::size_t t = p;
    while (t + q < p + largo && s[t].codigo == s[t + q].codigo) ++t;
    if (t + q == p + largo) return true;
  }
  std::uint32_t distintos[kDistintos];
  std::size_t cuantos = 0;
  for (std::size_t t = p; t < p + largo && cuantos < kDistintos; ++t) {
    if (std::find(distintos, distintos + cuantos, s[t].codigo) == distintos + cuantos) {
      distintos[cuantos++] = s[t].codigo;
    }
  }
  return cuantos < kDistintos;
}

// Which runs winnowing keeps: the rightmost smallest hash of every window of kVentana
// consecutive runs, and the first and last runs.
std::vector<bool> elegidas(const std::vector<std::uint32_t>& hashes) {
  const std::size_t m = hashes.size();
  std::vector<bool> elegida(m);
  if (m == 0) return elegida;
  elegida[0] = elegida[m - 1] = true;
  const std::size_t ventana = std::min(kVentana, m);
  // Positions whose hashes increase from the front: the front is the window's minimum.
  std::vector<std::size_t> cola(m);
  std::size_t frente = 0, fondo = 0;
  for (std::size_t i = 0; i < m; ++i) {
    while (fondo > frente && hashes[cola[fondo - 1]] >= hashes[i]) --fondo;
    cola[fondo++] = i;
    if (cola[frente] + ventana <= i) ++frente;
    if (i + 1 >= ventana) elegida[cola[frente]] = true;
  }
  return elegida;
}

// The most tokens whose buffers a thread keeps for the next participant: a few MB.
constexpr std::size_t kTokensGuardados = 1 << 17;

// What fingerprinting one participant reuses from one file to the next.
struct Buffers {
  Taller taller;
  std::vector<Simbolo> simbolos;
  std::vector<std::uint32_t> hashes;
};

// The marks of the tokens [desde, hasta) of a file, runs of `largo` of them.
void agregaMarcas(const std::vector<Simbolo>& s, std::size_t desde, std::size_t hasta,
                  std::size_t largo, bool todas, Huellas& h, Buffers& b) {
  std::vector<std::uint32_t>& hashes = b.hashes;
  hashes.clear();
  std::uint64_t potencia = 1, rodante = 0;
  for (std::size_t j = 1; j < largo; ++j) potencia *= kBase;
  for (std::size_t i = desde; i < hasta; ++i) {
    if (i >= desde + largo) rodante -= s[i - largo].codigo * potencia;
    rodante = rodante * kBase + s[i].codigo;
    if (i + 1 >= desde + largo) hashes.push_back(mezcla(rodante));
  }
  const std::vector<bool> elegida =
      todas ? std::vector<bool>(hashes.size(), true) : elegidas(hashes);
  for (std::size_t p = 0; p < hashes.size(); ++p) {
    if (!elegida[p] || (!todas && anodina(s, desde + p, largo))) continue;
    // Lines never go back: a run spans from its first token's line to its last one's.
    const std::uint32_t primera = s[desde + p].linea, ultima = s[desde + p + largo - 1].linea;
    h.marcas.push_back({hashes[p], std::min(primera, ultima), std::max(primera, ultima)});
  }
}

void agregaArchivo(const std::string& texto, bool todas, Huellas& h, Buffers& b) {
  simbolosDe(texto, b.taller, b.simbolos);
  const std::vector<Simbolo>& s = b.simbolos;
  std::uint32_t ultima = 0;
  for (const Simbolo& x : s) ultima = std::max(ultima, x.linea);
  const std::size_t base = h.codigo.size();
  h.codigo.resize(base + ultima);
  for (const Simbolo& x : s) h.codigo[base + x.linea - 1] = true;
  h.lineas.push_back(h.codigo.size());

  // Runs never cross a line of code without tokens (a class's declarations). A file shorter
  // than a run is one run of all it has.
  if (std::none_of(s.begin(), s.end(), [](const Simbolo& x) { return x.codigo == 0; })) {
    agregaMarcas(s, 0, s.size(), std::min(kK, s.size()), todas, h, b);
  } else {
    for (std::size_t i = 0; i < s.size();) {
      std::size_t j = i;
      while (j < s.size() && s[j].codigo != 0) ++j;
      if (j - i >= kK) agregaMarcas(s, i, j, kK, todas, h, b);
      i = j + 1;
    }
  }
  h.inicios.push_back(static_cast<std::uint32_t>(h.marcas.size()));
}

Huellas huellas(const std::vector<ArchivoFuente>& archivos, bool todas) {
  Huellas h;
  h.inicios.push_back(0);
  h.lineas.push_back(0);
  // About a mark for every twenty bytes of code: room enough, given back at the end.
  std::size_t bytes = 0;
  for (const ArchivoFuente& a : archivos) bytes += a.texto.size();
  h.marcas.reserve(bytes / 16 + 16);
  // Kept by each thread from one participant to the next: allocating them again for every
  // participant costs as much as the work itself.
  thread_local Buffers b;
  for (const ArchivoFuente& a : archivos) agregaArchivo(a.texto, todas, h, b);
  // Not kept for one source out of the ordinary: a thread would hold them until it ends.
  if (b.taller.a.capacity() > kTokensGuardados || b.taller.b.capacity() > kTokensGuardados) {
    b = Buffers();
  }
  h.marcas.shrink_to_fit();
  return h;
}

}  // namespace

Huellas huellasDe(const std::vector<ArchivoFuente>& archivos) { return huellas(archivos, false); }

Huellas huellasDePlantilla(const std::vector<ArchivoFuente>& archivos) {
  return huellas(archivos, true);
}
