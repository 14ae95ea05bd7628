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

}  // namespace

std::string campoCsv(const std::string& bruto) {
  const std::string texto = neutro(bruto);
  if (texto.find_first_of(";\"\r\n") == std::string::npos) return texto;
  std::string salida = "\"";
  for (const char c : texto) {
    if (c == '"') salida += '"';
    salida += c;
  }
  return salida + "\"";
}

std::string cuenta(int n) { return n < 0 ? std::string() : std::to_string(n); }

std::string frase(const std::string& hallazgo) { return hallazgo + "."; }

std::array<std::size_t, kNumeroVeredictos> cuentaVeredictos(const std::vector<Fila>& filas) {
  std::array<std::size_t, kNumeroVeredictos> cuentas{};
  for (const Fila& f : filas) ++cuentas[static_cast<std::size_t>(f.revision.veredicto)];
  return cuentas;
}

std::string tablaCsv(const std::vector<Fila>& filas) {
  std::string csv =
      "\xEF\xBB\xBF"
      "participante;nombre;entrega;veredicto;comprobador;fecha;autores;proyecto;fuentes;"
      "cabeceras;imagenes;hallazgos\r\n";
  for (const Fila& f : filas) {
    const Revision& r = f.revision;
    // Line breaks only between findings: none that a student wrote.
    std::string hallazgos;
    for (const std::string& h : r.hallazgos) {
      hallazgos += (hallazgos.empty() ? "" : "\n") + legible(frase(h));
    }
    csv += campoCsv(legible(f.participante.numero)) + ";" +
           campoCsv(legible(f.participante.nombre)) + ";" + campoCsv(legible(f.entrega)) + ";" +
           formaDe(r.veredicto).palabra + ";" + (r.comprobador ? "sí" : "no") + ";" + r.fecha +
           ";" + campoCsv(legible(r.autores)) + ";" + campoCsv(legible(r.proyecto)) + ";" +
           cuenta(r.fuentes) + ";" + cuenta(r.cabeceras) + ";" + cuenta(r.imagenes) + ";" +
           campoCsv(hallazgos) + "\r\n";
  }
  return csv;
}

std::string resumen(const std::vector<Fila>& filas, std::optional<std::size_t> parejas) {
  const auto cuentas = cuentaVeredictos(filas);
  std::string texto = std::to_string(filas.size()) + " entregas: ";
  for (std::size_t i = 0; i < kNumeroVeredictos; ++i) {
    texto += (i > 0 ? ", " : "") + std::to_string(cuentas[i]) + " " + kVeredictos[i].plural;
  }
  if (parejas) texto += "; " + std::to_string(*parejas) + " parejas de código parecido";
  return texto;
}
