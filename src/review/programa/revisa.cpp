// The run: the options, the rows of every input, their review, the comparison, the reports.
#include "revisa.h"

#include "archivos.h"
#include "comparacion_filas.h"
#include "consola.h"
#include "entradas.h"
#include "filas.h"
#include "informe.h"
#include "opciones.h"
#include "plantilla.h"
#include "retroalimentacion.h"
#include "salida.h"
#include "trabajadores.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <thread>

namespace {

void linea(std::FILE* destino, const std::string& texto) {
  const std::string todo = texto + "\n";
  std::fwrite(todo.data(), 1, todo.size(), destino);
  std::fflush(destino);
}

int falla(const std::string& texto) {
  linea(stderr, "revisa: " + texto);
  return 2;
}

// Every row of `entradas`, each named first by `prefijo`; a failure when an input is lost.
plataforma::Resultado<std::vector<Trabajo>> buscaTodas(const std::vector<std::string>& entradas,
                                                       bool conPrefijo) {
  std::vector<Trabajo> trabajos;
  for (const std::string& entrada : entradas) {
    plataforma::Resultado<std::vector<Trabajo>> suyos = buscaEntregas(entrada);
    if (!suyos) return std::move(suyos).error();
    for (Trabajo& t : *suyos) {
      // Earlier years' rows are told apart by the input they come from.
      if (conPrefijo) t.nombre = plataforma::ultimoComponente(entrada) + "/" + t.nombre;
      trabajos.push_back(std::move(t));
    }
  }
  return trabajos;
}

int revisaCon(const std::vector<std::string>& argumentos, bool suelto) {
  plataforma::Resultado<Opciones> leidas =
      leeOpciones(argumentos, std::max(1u, std::thread::hardware_concurrency()));
  if (!leidas) return falla(leidas.error().texto());
  const Opciones& o = *leidas;
  if (o.entradas.empty() && suelto) {
    linea(stdout,
          "Para revisar las entregas, arrastra la carpeta o el .zip descargado del campus y "
          "suéltalo sobre revisa.exe.");
    return 2;
  }
  if (o.entradas.empty()) return falla(kUso);
  std::string salida = o.salida.value_or(".");
  if (suelto && !o.salida) {
    plataforma::Resultado<std::string> canonica = plataforma::rutaCanonica(o.entradas.front());
    if (!canonica) return falla(canonica.error().texto());
    salida = plataforma::carpetaDe(*canonica);
  }

  // Every input is found before any review: one that is lost ends the run at once.
  plataforma::Resultado<std::vector<Trabajo>> trabajos = buscaTodas(o.entradas, false);
  if (!trabajos) return falla(trabajos.error().texto());
  plataforma::Resultado<std::vector<Trabajo>> previos = buscaTodas(o.anteriores, true);
  if (!previos) return falla(previos.error().texto());
  std::vector<ArchivoFuente> plantilla;
  if (o.plantilla) {
    plataforma::Resultado<std::vector<ArchivoFuente>> leida = leePlantilla(*o.plantilla);
    if (!leida) return falla(leida.error().texto());
    plantilla = std::move(*leida);
  }

  std::vector<Fila> filas = revisaTodas(*trabajos, o.hilos, o.similitud);
  std::vector<Fila> anteriores = revisaTodas(*previos, o.hilos, o.similitud);
  std::stable_sort(filas.begin(), filas.end(),
                   [](const Fila& a, const Fila& b) { return a.entrega < b.entrega; });
  std::optional<Similitudes> similitudes;
  std::optional<std::size_t> parejas;
  if (o.similitud) {
    similitudes = comparaFilas(filas, anteriores, plantilla);
    parejas = avisos(*similitudes);
    // The page shows the code of the flagged pairs' participants, side by side.
    const auto relee = [](std::vector<Fila>& suyas, const std::vector<Trabajo>& de) {
      for (Fila& f : suyas) {
        if (f.parecida) releeCodigo(f, de[f.trabajo]);
      }
    };
    relee(filas, *trabajos);
    relee(anteriores, *previos);
  }

  const auto escribe = [&salida](const char* nombre, const std::string& contenido) {
    return plataforma::escribeArchivo(plataforma::une(salida, nombre), contenido);
  };
  plataforma::Resultado<void> escrito = escribe("revision.csv", tablaCsv(filas));
  if (escrito) escrito = escribe("revision.html", paginaHtml(filas, parejas));
  if (escrito && similitudes) escrito = escribe("similitud.csv", tablaSimilitud(*similitudes));
  if (escrito && similitudes) escrito = escribe("similitud.html", paginaSimilitud(*similitudes));
  if (escrito && o.retroalimentacion) {
    escrito = escribeRetroalimentacion(plataforma::une(salida, "retroalimentacion.zip"), filas);
  }
  if (!escrito) return falla(escrito.error().texto());
  linea(stdout, resumen(filas, parejas));
  if (suelto) {
    linea(stdout, std::string("Los informes revision.csv y revision.html") +
                      (similitudes ? ", similitud.csv y similitud.html" : "") +
                      (o.retroalimentacion ? " y la retroalimentación retroalimentacion.zip" : "") +
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
