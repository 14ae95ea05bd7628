// The workers: each takes the next row, reviews it, and tells the progress line.
#include "trabajadores.h"

#include "filas.h"
#include "salida.h"
#include "texto.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <thread>

namespace {

/// What the workers share with the thread that shows progress.
struct Avance {
  std::mutex cerrojo;
  std::condition_variable cambio;
  std::size_t hechas = 0;
  std::string actual;
};

/// Waits for every worker that was started, however the thread that started them leaves.
struct EsperaHilos {
  std::vector<std::thread>& hilos;
  ~EsperaHilos() {
    for (std::thread& t : hilos) {
      if (t.joinable()) t.join();
    }
  }
};

std::string tiempo(double segundos) {
  const long s = static_cast<long>(segundos + 0.5);
  return s >= 60 ? std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s"
                 : std::to_string(s) + " s";
}

void muestraAvance(Avance& avance, std::size_t total) {
  const auto inicio = std::chrono::steady_clock::now();
  std::size_t ancho = 0;
  std::unique_lock<std::mutex> bloqueo(avance.cerrojo);
  while (avance.hechas < total) {
    avance.cambio.wait_for(bloqueo, std::chrono::milliseconds(200));
    const double pasados =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    // A name is shown as text only, and never cut inside a character.
    std::string texto = std::to_string(avance.hechas) + "/" + std::to_string(total) + " " +
                        recorta(legible(avance.actual), 50);
    if (avance.hechas > 0) {
      texto += ", quedan " + tiempo(pasados / static_cast<double>(avance.hechas) *
                                    static_cast<double>(total - avance.hechas));
    }
    const std::size_t largo = texto.size();
    texto.resize(std::max(largo, ancho), ' ');
    ancho = largo;
    std::fputs(("\r" + texto).c_str(), stderr);
    std::fflush(stderr);
  }
  std::fputs(("\r" + std::string(ancho, ' ') + "\r").c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

std::vector<Fila> revisaTodas(const std::vector<Trabajo>& trabajos, unsigned hilos, bool huellas) {
  // Every row is named before any review starts: whatever happens to a review, its row
  // stays, `no revisable` unless the review ends.
  std::vector<Fila> filas(trabajos.size());
  for (std::size_t i = 0; i < trabajos.size(); ++i) {
    filas[i] = encabezado(trabajos[i]);
    filas[i].trabajo = i;
  }
  Avance avance;
  std::atomic<std::size_t> siguiente{0};
  const auto trabaja = [&]() noexcept {
    for (std::size_t i; (i = siguiente++) < trabajos.size();) {
      try {
        {
          std::lock_guard<std::mutex> bloqueo(avance.cerrojo);
          avance.actual = trabajos[i].nombre;
        }
        filas[i] = revisaTrabajo(trabajos[i], huellas);
        filas[i].trabajo = i;
        if (huellas) {
          filas[i].huellas = huellasDe(filas[i].revision.codigo);
          // Held for every row, the texts would take as much memory as all the code handed in.
          for (ArchivoFuente& archivo : filas[i].revision.codigo) std::string().swap(archivo.texto);
        }
      } catch (const std::exception& e) {
        // One submission that cannot be reviewed is one row that says why.
        try {
          filas[i].revision.hallazgos.assign(1,
                                             std::string("No se ha podido revisar: ") + e.what());
        } catch (...) {
        }
      } catch (...) {
        try {
          filas[i].revision.hallazgos.assign(1, "No se ha podido revisar");
        } catch (...) {
        }
      }
      try {
        std::lock_guard<std::mutex> bloqueo(avance.cerrojo);
        ++avance.hechas;
        avance.cambio.notify_one();
      } catch (...) {
      }
    }
  };
  {
    std::vector<std::thread> trabajadores;
    const EsperaHilos espera{trabajadores};
    std::size_t cuantos = std::min<std::size_t>(hilos, trabajos.size());
    try {
      // Room for every thread first: adding one then never reallocates, so no started thread
      // can be dropped unjoined.
      trabajadores.reserve(cuantos);
    } catch (const std::exception&) {
      cuantos = 0;
    }
    for (std::size_t i = 0; i < cuantos; ++i) {
      // Fewer threads than asked for still do the whole review; none at all, this one does.
      try {
        trabajadores.emplace_back(trabaja);
      } catch (const std::exception&) {
        break;
      }
    }
    if (trabajadores.empty()) trabaja();
    if (plataforma::errorEsTerminal() && !trabajos.empty()) muestraAvance(avance, trabajos.size());
  }  // every worker joined: the rows are whole
  return filas;
}
