// The run: arguments, the submissions of every input, the workers, progress, the report.
#include "revisa.h"

#include "archivos.h"
#include "consola.h"
#include "entradas.h"
#include "filas.h"
#include "informe.h"
#include "retroalimentacion.h"
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

constexpr const char* kUso = "uso: revisa [--salida DIR] [-j N] [--retroalimentacion] ENTRADA...";

void linea(std::FILE* destino, const std::string& texto) {
  const std::string todo = texto + "\n";
  std::fwrite(todo.data(), 1, todo.size(), destino);
  std::fflush(destino);
}

int falla(const std::string& texto) {
  linea(stderr, "revisa: " + texto);
  return 2;
}

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

// Every submission reviewed by `hilos` workers side by side, each row in its place.
std::vector<Fila> revisaTodas(const std::vector<Trabajo>& trabajos, unsigned hilos) {
  // Every row is named before any review starts: whatever happens to a review, its row
  // stays, `no revisable` unless the review ends.
  std::vector<Fila> filas(trabajos.size());
  for (std::size_t i = 0; i < trabajos.size(); ++i) filas[i] = encabezado(trabajos[i]);
  Avance avance;
  std::atomic<std::size_t> siguiente{0};
  const auto trabaja = [&]() noexcept {
    for (std::size_t i; (i = siguiente++) < trabajos.size();) {
      try {
        {
          std::lock_guard<std::mutex> bloqueo(avance.cerrojo);
          avance.actual = trabajos[i].nombre;
        }
        filas[i] = revisaTrabajo(trabajos[i]);
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

int revisaCon(const std::vector<std::string>& argumentos, bool suelto) {
  std::string salida = ".";
  bool conSalida = false, retroalimentacion = false;
  unsigned hilos = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::string> entradas;
  for (std::size_t i = 0; i < argumentos.size(); ++i) {
    const std::string& a = argumentos[i];
    if (a == "--salida") {
      if (i + 1 == argumentos.size())
        return falla("--salida necesita una carpeta; " + std::string(kUso));
      salida = argumentos[++i];
      conSalida = true;
    } else if (a == "--retroalimentacion") {
      retroalimentacion = true;
    } else if (a == "-j" || (a.size() > 2 && a.compare(0, 2, "-j") == 0)) {
      const std::string valor =
          a == "-j" ? (i + 1 < argumentos.size() ? argumentos[++i] : "") : a.substr(2);
      if (valor.empty() || valor.size() > 3 ||
          valor.find_first_not_of("0123456789") != std::string::npos || std::stoi(valor) < 1) {
        return falla("-j necesita un número de hilos, 1 o más; " + std::string(kUso));
      }
      hilos = static_cast<unsigned>(std::stoi(valor));
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return falla("opción desconocida " + a + "; " + kUso);
    } else {
      entradas.push_back(a);
    }
  }
  if (entradas.empty() && suelto) {
    linea(stdout,
          "Para revisar las entregas, arrastra la carpeta o el .zip descargado del campus y "
          "suéltalo sobre revisa.exe.");
    return 2;
  }
  if (entradas.empty()) return falla(kUso);
  if (suelto && !conSalida) {
    plataforma::Resultado<std::string> canonica = plataforma::rutaCanonica(entradas.front());
    if (!canonica) return falla(canonica.error().texto());
    salida = plataforma::carpetaDe(*canonica);
  }

  std::vector<Trabajo> trabajos;
  for (const std::string& entrada : entradas) {
    plataforma::Resultado<std::vector<Trabajo>> suyos = buscaEntregas(entrada);
    if (!suyos) return falla(suyos.error().texto());
    trabajos.insert(trabajos.end(), std::make_move_iterator(suyos->begin()),
                    std::make_move_iterator(suyos->end()));
  }

  std::vector<Fila> filas = revisaTodas(trabajos, hilos);
  std::stable_sort(filas.begin(), filas.end(),
                   [](const Fila& a, const Fila& b) { return a.entrega < b.entrega; });
  plataforma::Resultado<void> escrito =
      plataforma::escribeArchivo(plataforma::une(salida, "revision.csv"), tablaCsv(filas));
  if (escrito) {
    escrito =
        plataforma::escribeArchivo(plataforma::une(salida, "revision.html"), paginaHtml(filas));
  }
  if (escrito && retroalimentacion) {
    escrito = escribeRetroalimentacion(plataforma::une(salida, "retroalimentacion.zip"), filas);
  }
  if (!escrito) return falla(escrito.error().texto());
  linea(stdout, resumen(filas));
  if (suelto) {
    linea(stdout, std::string("Los informes revision.csv y revision.html") +
                      (retroalimentacion ? " y la retroalimentación retroalimentacion.zip" : "") +
                      " están en " + salida);
  }
  const bool todas = std::all_of(filas.begin(), filas.end(), [](const Fila& f) {
    return f.revision.veredicto == Veredicto::correcta;
  });
  return todas ? 0 : 1;
}

}  // namespace

int ejecutaPrograma(const plataforma::Resultado<std::vector<std::string>>& argumentos) {
  plataforma::preparaConsola();
  const bool suelto = plataforma::consolaPropia();
  int estado;
  try {
    estado = argumentos ? revisaCon(*argumentos, suelto) : falla(argumentos.error().texto());
  } catch (const std::exception& e) {
    // No memory, or no thread to be had: the review could not be made.
    estado = falla(std::string("No se ha podido hacer la revisión: ") + e.what());
  }
  if (suelto) {
    // The window closes with the program: the summary stays until it has been read.
    linea(stdout, "Pulsa Intro para cerrar esta ventana.");
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
    }
  }
  return estado;
}
