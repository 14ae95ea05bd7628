// libFuzzer target: the input is three participants' code and a template, between lines "%%";
// the first participant's code is split into two files. They are compared with the template
// and without, with the last two as earlier years, two by two in either order, and the first
// with a copy of itself. Besides the sanitizers' findings, it aborts when a comparison breaks
// what it promises: scores in 0..100 and the same either way round, a copy scoring 100,
// fragments within their files, pairs in order, groups made of the flagged pairs.
#include "comparacion.h"
#include "huellas.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void falla(const char* por) {
  std::fprintf(stderr, "\n*** %s\n", por);
  std::abort();
}

void exige(bool condicion, const char* por) {
  if (!condicion) falla(por);
}

// Lines as the lexer counts them: "\r\n", "\n" and a lone "\r" each end one.
std::size_t lineas(const std::string& texto) {
  std::size_t n = 1;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '\n' || (texto[i] == '\r' && (i + 1 == texto.size() || texto[i + 1] != '\n'))) {
      ++n;
    }
  }
  return n;
}

void tramoDentro(const Tramo& t, const std::vector<ArchivoFuente>& archivos) {
  exige(t.archivo < archivos.size(), "fragmento en un archivo que no existe");
  exige(t.desde >= 1 && t.desde <= t.hasta, "fragmento sin líneas");
  exige(t.hasta <= lineas(archivos[t.archivo].texto), "fragmento más allá de su archivo");
}

std::vector<std::vector<std::size_t>> gruposDe(const std::vector<Par>& pares, std::size_t n) {
  std::vector<std::size_t> grupo(n);
  std::iota(grupo.begin(), grupo.end(), 0);
  // Few participants: join groups by relabelling until nothing changes.
  for (bool cambia = true; cambia;) {
    cambia = false;
    for (const Par& p : pares) {
      const std::size_t menor = std::min(grupo[p.a], grupo[p.b]);
      if (p.aviso && grupo[p.a] != grupo[p.b]) {
        const std::size_t mayor = std::max(grupo[p.a], grupo[p.b]);
        for (std::size_t& g : grupo) g = g == mayor ? menor : g;
        cambia = true;
      }
    }
  }
  std::vector<std::vector<std::size_t>> grupos;
  for (std::size_t g = 0; g < n; ++g) {
    std::vector<std::size_t> miembros;
    for (std::size_t i = 0; i < n; ++i) {
      if (grupo[i] == g) miembros.push_back(i);
    }
    if (miembros.size() >= 3) grupos.push_back(miembros);
  }
  return grupos;
}

void compruebaComparacion(const Comparacion& c,
                          const std::vector<std::vector<ArchivoFuente>>& participantes,
                          const std::vector<bool>& anteriores) {
  const std::size_t n = participantes.size();
  for (std::size_t i = 0; i < c.pares.size(); ++i) {
    const Par& p = c.pares[i];
    exige(p.a < p.b && p.b < n, "par fuera de los participantes");
    exige(p.similitud >= 0 && p.similitud <= 100, "similitud fuera de 0..100");
    exige(p.similitud >= kSimilitudListada || p.aviso, "par listado sin motivo");
    exige(!(anteriores[p.a] && anteriores[p.b]), "dos participantes de años anteriores comparados");
    std::size_t mayor = 0, compartidas = 0;
    for (const Fragmento& f : p.fragmentos) {
      tramoDentro(f.a, participantes[p.a]);
      tramoDentro(f.b, participantes[p.b]);
      const std::size_t lineas = std::min(f.a.hasta - f.a.desde, f.b.hasta - f.b.desde) + 1;
      mayor = std::max(mayor, lineas);
      compartidas += lineas;
    }
    exige(mayor == p.fragmento, "fragmento más largo que no es el de sus fragmentos");
    exige(p.aviso == ((p.similitud >= kSimilitudAviso && compartidas >= kCompartidoAviso) ||
                      p.fragmento >= kFragmentoAviso),
          "aviso que no va con sus umbrales");
    if (i > 0) {
      const Par& q = c.pares[i - 1];
      exige(q.similitud > p.similitud ||
                (q.similitud == p.similitud && (q.a < p.a || (q.a == p.a && q.b < p.b))),
            "pares fuera de orden");
    }
  }
  exige(c.grupos == gruposDe(c.pares, n), "grupos que no son los de los pares marcados");
  exige(c.lineasComunes <= c.lineasTotales, "más líneas de la plantilla que de código");
}

// The scores and longest fragments of participants x and y, compared alone.
std::pair<int, std::size_t> solos(const Huellas& x, const Huellas& y, const Huellas& plantilla) {
  const Comparacion c = compara({x, y}, {}, &plantilla);
  return c.pares.empty() ? std::make_pair(0, std::size_t{0})
                         : std::make_pair(c.pares[0].similitud, c.pares[0].fragmento);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
  const std::string_view entrada(reinterpret_cast<const char*>(datos), tamano);
  std::vector<std::string> partes(4);
  std::size_t parte = 0;
  for (std::size_t i = 0; i < entrada.size();) {
    const std::size_t fin = std::min(entrada.find("\n%%\n", i), entrada.size());
    partes[parte] += entrada.substr(i, fin - i);
    i = fin + 4;
    if (parte < 3) ++parte;
  }
  const std::size_t mitad = partes[0].size() / 2;
  std::vector<std::vector<ArchivoFuente>> archivos = {
      {{"Juego/a.cpp", partes[0].substr(0, mitad)}, {"Juego/a.h", partes[0].substr(mitad)}},
      {{"Juego/b.cpp", partes[1]}},
      {{"Juego/c.cpp", partes[2]}}};
  std::vector<Huellas> huellas;
  for (const auto& a : archivos) huellas.push_back(huellasDe(a));
  const Huellas plantilla = huellasDePlantilla({{"Juego/p.cpp", partes[3]}});

  const std::vector<bool> ninguno(3), anteriores = {false, true, true};
  compruebaComparacion(compara(huellas, {}, &plantilla), archivos, ninguno);
  compruebaComparacion(compara(huellas, {}, nullptr), archivos, ninguno);
  compruebaComparacion(compara(huellas, anteriores, &plantilla), archivos, anteriores);

  for (std::size_t x = 0; x < 3; ++x) {
    for (std::size_t y = x + 1; y < 3; ++y) {
      exige(solos(huellas[x], huellas[y], plantilla) == solos(huellas[y], huellas[x], plantilla),
            "la similitud cambia con el orden de los dos");
    }
  }

  // A copy scores 100 whenever there is code outside the template to compare.
  bool propia = false;
  for (const Marca& m : huellas[0].marcas) {
    propia = propia || std::none_of(plantilla.marcas.begin(), plantilla.marcas.end(),
                                    [&](const Marca& t) { return t.hash == m.hash; });
  }
  const int copia = solos(huellas[0], huellas[0], plantilla).first;
  exige(copia == (propia ? 100 : 0), "una copia idéntica no da 100 (o da algo sin código propio)");
  return 0;
}
