// The copy detection over folders of participants, timed: the driver of bench/similitud.py.
//   similitud_banco CARPETA [--plantilla CARPETA] [--anteriores CARPETA]... [--hilos N]
//                   [--fragmentos]
// CARPETA holds one folder per participant (its .cpp, .cc, .h, .hh and .hpp files, at any
// depth); --anteriores, one per participant of an earlier year. Prints the pairs as TSV
// (a, b, similitud, fragmento, aviso; with --fragmentos each fragment below its pair), and on
// standard error the time of reading and fingerprinting, of fingerprinting alone (the longest
// worker's) and of the comparison, and the peak memory.
#include "similitud.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Participante {
  std::string nombre;
  fs::path carpeta;
  bool anterior = false;
  std::vector<std::string> archivos;  // relative to the folder
};

bool esFuente(const fs::path& p) {
  const std::string e = p.extension().string();
  return e == ".cpp" || e == ".cc" || e == ".h" || e == ".hh" || e == ".hpp";
}

std::vector<ArchivoFuente> leeFuentes(const fs::path& carpeta, std::vector<std::string>& nombres) {
  nombres.clear();
  const std::size_t prefijo = carpeta.generic_string().size() + 1;
  for (const auto& e : fs::recursive_directory_iterator(carpeta)) {
    if (e.is_regular_file() && esFuente(e.path())) {
      nombres.push_back(e.path().generic_string().substr(prefijo));
    }
  }
  std::sort(nombres.begin(), nombres.end());
  std::vector<ArchivoFuente> archivos;
  for (const std::string& n : nombres) {
    std::ifstream f(carpeta / n, std::ios::binary | std::ios::ate);
    std::string texto(static_cast<std::size_t>(f.tellg()), '\0');
    f.seekg(0);
    f.read(texto.data(), static_cast<std::streamsize>(texto.size()));
    archivos.push_back({n, std::move(texto)});
  }
  return archivos;
}

void agregaCarpetas(const fs::path& raiz, bool anterior, std::vector<Participante>& ps) {
  std::vector<Participante> nuevos;
  for (const auto& e : fs::directory_iterator(raiz)) {
    if (e.is_directory()) nuevos.push_back({e.path().filename().string(), e.path(), anterior, {}});
  }
  std::sort(nuevos.begin(), nuevos.end(),
            [](const Participante& x, const Participante& y) { return x.nombre < y.nombre; });
  ps.insert(ps.end(), nuevos.begin(), nuevos.end());
}

double segundosDesde(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Participante> participantes;
  fs::path plantilla;
  unsigned hilos = 2;
  bool fragmentos = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--plantilla" && i + 1 < argc) {
      plantilla = argv[++i];
    } else if (a == "--anteriores" && i + 1 < argc) {
      agregaCarpetas(argv[++i], true, participantes);
    } else if (a == "--hilos" && i + 1 < argc) {
      hilos = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
    } else if (a == "--fragmentos") {
      fragmentos = true;
    } else if (a[0] != '-') {
      agregaCarpetas(a, false, participantes);
    } else {
      std::fprintf(stderr,
                   "uso: similitud_banco CARPETA [--plantilla CARPETA] [--anteriores "
                   "CARPETA]... [--hilos N] [--fragmentos]\n");
      return 2;
    }
  }

  // Each participant's files read and fingerprinted by the workers, the texts dropped at once,
  // as the review does it. Each worker's time reading and fingerprinting apart: the review
  // reads the files anyway, so what the comparison adds is the fingerprinting, the workers'
  // longest.
  const auto inicio = std::chrono::steady_clock::now();
  std::vector<Huellas> huellas(participantes.size());
  std::atomic<std::size_t> siguiente{0};
  std::vector<double> leyendo(hilos), calculando(hilos);
  std::vector<std::thread> trabajadores;
  for (unsigned h = 0; h < hilos; ++h) {
    trabajadores.emplace_back([&, h] {
      for (std::size_t i; (i = siguiente++) < participantes.size();) {
        const auto antes = std::chrono::steady_clock::now();
        const std::vector<ArchivoFuente> archivos =
            leeFuentes(participantes[i].carpeta, participantes[i].archivos);
        const auto leidos = std::chrono::steady_clock::now();
        huellas[i] = huellasDe(archivos);
        leyendo[h] += std::chrono::duration<double>(leidos - antes).count();
        calculando[h] += segundosDesde(leidos);
      }
    });
  }
  for (std::thread& t : trabajadores) t.join();
  Huellas dePlantilla;
  if (!plantilla.empty()) {
    std::vector<std::string> nombres;
    const std::vector<ArchivoFuente> archivos = leeFuentes(plantilla, nombres);
    const auto antes = std::chrono::steady_clock::now();
    dePlantilla = huellasDePlantilla(archivos);
    calculando[0] += segundosDesde(antes);
  }
  const double tiempoLectura = segundosDesde(inicio);
  const double tiempoHuellas = *std::max_element(calculando.begin(), calculando.end());

  const auto antes = std::chrono::steady_clock::now();
  std::vector<bool> anteriores;
  for (const Participante& p : participantes) anteriores.push_back(p.anterior);
  const Comparacion c = compara(huellas, anteriores, plantilla.empty() ? nullptr : &dePlantilla);
  const double tiempoCompara = segundosDesde(antes);

  std::printf("a\tb\tsimilitud\tfragmento\taviso\n");
  for (const Par& p : c.pares) {
    const Participante &a = participantes[p.a], &b = participantes[p.b];
    std::printf("%s\t%s\t%d\t%zu\t%d\n", a.nombre.c_str(), b.nombre.c_str(), p.similitud,
                p.fragmento, p.aviso ? 1 : 0);
    for (const Fragmento& f : fragmentos ? p.fragmentos : std::vector<Fragmento>()) {
      std::printf("\t%s:%zu-%zu\t%s:%zu-%zu\n", a.archivos[f.a.archivo].c_str(), f.a.desde,
                  f.a.hasta, b.archivos[f.b.archivo].c_str(), f.b.desde, f.b.hasta);
    }
  }
  std::size_t marcas = 0;
  for (const Huellas& h : huellas) marcas += h.marcas.size();
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  std::fprintf(stderr,
               "participantes=%zu marcas=%zu lineas=%zu comunes=%zu deducida=%d grupos=%zu "
               "lectura_y_huellas_s=%.4f huellas_s=%.4f compara_s=%.4f memoria_pico_kb=%ld\n",
               participantes.size(), marcas, c.lineasTotales, c.lineasComunes,
               c.plantillaDeducida ? 1 : 0, c.grupos.size(), tiempoLectura, tiempoHuellas,
               tiempoCompara, uso.ru_maxrss);
  return 0;
}
