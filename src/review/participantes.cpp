// The campus's names for what each participant handed in.
#include "participantes.h"

#include <vector>

namespace {

std::vector<std::string> partes(const std::string& texto, char separador) {
  std::vector<std::string> resultado;
  for (std::size_t inicio = 0;;) {
    const std::size_t fin = texto.find(separador, inicio);
    resultado.push_back(texto.substr(inicio, fin - inicio));
    if (fin == std::string::npos) return resultado;
    inicio = fin + 1;
  }
}

bool esNumero(const std::string& texto) {
  return !texto.empty() && texto.find_first_not_of("0123456789") == std::string::npos;
}

bool sonLetras(const std::string& texto) {
  if (texto.empty()) return false;
  for (const char c : texto) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}

std::string une(const std::vector<std::string>& trozos, std::size_t desde, char separador) {
  std::string texto;
  for (std::size_t i = desde; i < trozos.size(); ++i) {
    if (i > desde) texto += separador;
    texto += trozos[i];
  }
  return texto;
}

// Moodle: the campus turns "_" in names into spaces, so the first "_" ends the name; the
// number follows unless the form has none (a student in no group).
bool moodle(const std::string& componente, Participante& p, std::string& resto, bool& texto) {
  const std::vector<std::string> t = partes(componente, '_');
  if (t.size() < 3 || t[0].empty()) return false;
  std::size_t i = 1;
  if (esNumero(t[1]) || t[1].empty()) i = 2;
  if (i + 1 >= t.size() || t[i] != "assignsubmission" || t[i + 1].empty()) return false;
  p.nombre = t[0];
  p.numero = i == 2 ? t[1] : std::string();
  p.moodle = true;
  texto = t[i + 1] == "onlinetext";
  resto = i + 2 < t.size() ? une(t, i + 2, '_') : std::string();
  return true;
}

// Canvas, for a file's name: the name in letters only, "_LATE" when late, then the user's
// and the attachment's numbers.
bool canvas(const std::string& componente, Participante& p, std::string& resto) {
  const std::vector<std::string> t = partes(componente, '_');
  if (t.size() < 4 || !sonLetras(t[0])) return false;
  std::size_t i = 1;
  if (t[1] == "LATE" || t[1] == "late") i = 2;
  if (i + 2 >= t.size() || !esNumero(t[i]) || !esNumero(t[i + 1])) return false;
  p.nombre = t[0];
  p.numero = t[i];
  p.moodle = false;
  resto = une(t, i + 2, '_');
  return !resto.empty();
}

}  // namespace

bool procedenciaDe(const std::string& ruta, Procedencia& procedencia) {
  const std::vector<std::string> componentes = partes(ruta, '/');
  std::string antes;
  for (std::size_t i = 0; i < componentes.size(); ++i) {
    const bool ultimo =
        i + 1 == componentes.size() || (i + 2 == componentes.size() && componentes[i + 1].empty());
    Procedencia p;
    std::string resto;
    bool hallado = moodle(componentes[i], p.participante, resto, p.textoEnLinea);
    if (!hallado && ultimo) hallado = canvas(componentes[i], p.participante, resto);
    if (hallado) {
      const std::string despues = une(componentes, i + 1, '/');
      p.carpeta = antes + componentes[i] + (i + 1 < componentes.size() ? "/" : "");
      // In a folder of its own the rest of the path is the participant's; in a file's
      // name, what follows the form is.
      p.propia = ultimo ? resto : despues;
      if (ultimo && resto.empty()) p.propia.clear();
      procedencia = std::move(p);
      return true;
    }
    antes += componentes[i] + "/";
  }
  return false;
}
