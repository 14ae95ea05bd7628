// revision.csv: a spreadsheet set up for Spanish opens it without an import dialog.
#include "informe.h"
#include "texto.h"

namespace {

// A cell that a spreadsheet would take for a formula gets a leading "'": whatever a
// student wrote stays text.
std::string neutro(std::string texto) {
  if (!texto.empty() && std::string("=+-@\t\r").find(texto[0]) != std::string::npos) {
    texto.insert(0, 1, '\'');
  }
  return texto;
}

// RFC 4180: quoted when it holds the separator, a quote or a line break; quotes doubled.
std::string campo(const std::string& bruto) {
  const std::string texto = neutro(bruto);
  if (texto.find_first_of(";\"\r\n") == std::string::npos) return texto;
  std::string salida = "\"";
  for (const char c : texto) {
    if (c == '"') salida += '"';
    salida += c;
  }
  return salida + "\"";
}

}  // namespace

std::string cuenta(int n) { return n < 0 ? std::string() : std::to_string(n); }

std::string tablaCsv(const std::vector<Fila>& filas) {
  std::string csv =
      "\xEF\xBB\xBF"
      "participante;nombre;entrega;veredicto;comprobador;fecha;autores;proyecto;fuentes;"
      "cabeceras;imagenes;hallazgos\r\n";
  for (const Fila& f : filas) {
    // Line breaks only between findings: none that a student wrote.
    std::string hallazgos;
    for (const std::string& h : f.hallazgos) {
      hallazgos += (hallazgos.empty() ? "" : "\n") + legible(h);
    }
    csv += campo(legible(f.participante.numero)) + ";" + campo(legible(f.participante.nombre)) +
           ";" + campo(legible(f.entrega)) + ";" + palabra(f.veredicto) + ";" +
           (f.comprobador ? "sí" : "no") + ";" + f.fecha + ";" + campo(legible(f.autores)) + ";" +
           campo(legible(f.proyecto)) + ";" + cuenta(f.fuentes) + ";" + cuenta(f.cabeceras) + ";" +
           cuenta(f.imagenes) + ";" + campo(hallazgos) + "\r\n";
  }
  return csv;
}

std::string resumen(const std::vector<Fila>& filas) {
  int cuentas[4] = {};
  for (const Fila& f : filas) ++cuentas[static_cast<int>(f.veredicto)];
  return std::to_string(filas.size()) + " entregas: " + std::to_string(cuentas[0]) +
         " correctas, " + std::to_string(cuentas[1]) + " con avisos, " +
         std::to_string(cuentas[2]) + " con errores, " + std::to_string(cuentas[3]) +
         " no revisables";
}
