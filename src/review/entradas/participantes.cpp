// The campus's names for what each participant handed in.
#include "participantes.h"

#include "partes.h"

#include <vector>

namespace {

bool esNumero(const std::string& texto) {
  return !texto.empty() && texto.find_first_not_of("0123456789") == std::string::npos;
}

bool sonLetras(const std::string& texto) {
  for (const char c : texto) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}

/// A component of one of the campus's forms: who, and what follows the form in it.
struct Forma {
  Participante participante;
  std::string resto;  // what follows the form within the component: a file's own name
  bool textoEnLinea = false;
};

// Moodle, read from the right: the name may hold "_" (its zip writer turns \ : * ? " < > | into
// it) and may be empty; the number is the run of digits just before "_assignsubmission_",
// and is missing only for a student in no group.
std::optional<Forma> moodle(const std::string& componente) {
  const std::string marca = "_assignsubmission_";
  const std::size_t donde = componente.find(marca);
  if (donde == std::string::npos) return std::nullopt;
  const std::string antes = componente.substr(0, donde);
  const std::string despues = componente.substr(donde + marca.size());
  const std::size_t fin = despues.find('_');
  const std::string plugin = despues.substr(0, fin);
  if (plugin.empty()) return std::nullopt;
  Forma forma;
  forma.participante.moodle = true;
  forma.textoEnLinea = plugin == "onlinetext";
  forma.resto = fin == std::string::npos ? std::string() : despues.substr(fin + 1);
  const std::size_t guion = antes.rfind('_');
  if (guion != std::string::npos && esNumero(antes.substr(guion + 1))) {
    forma.participante.nombre = antes.substr(0, guion);
    forma.participante.numero = antes.substr(guion + 1);
  } else if (!antes.empty()) {
    forma.participante.nombre = antes;
  } else {
    return std::nullopt;
  }
  return forma;
}

// Canvas, for a file's name: the name in letters only (none left of a name written in
// others), "_LATE" when late, then the user's and the attachment's numbers.
std::optional<Forma> canvas(const std::string& componente) {
  const std::vector<std::string> t = plataforma::parte(componente, '_');
  if (t.size() < 4 || !sonLetras(t[0])) return std::nullopt;
  std::size_t i = 1;
  if (t[1] == "LATE" || t[1] == "late") i = 2;
  if (i + 2 >= t.size() || !esNumero(t[i]) || !esNumero(t[i + 1])) return std::nullopt;
  Forma forma;
  forma.participante.nombre = t[0];
  forma.participante.numero = t[i];
  forma.resto = plataforma::junta(t, '_', i + 2);
  if (forma.resto.empty()) return std::nullopt;
  return forma;
}

}  // namespace

std::optional<Procedencia> procedenciaDe(const std::string& ruta) {
  const std::vector<std::string> componentes = plataforma::parte(ruta, '/');
  std::string antes;
  for (std::size_t i = 0; i < componentes.size(); ++i) {
    const bool ultimo =
        i + 1 == componentes.size() || (i + 2 == componentes.size() && componentes[i + 1].empty());
    std::optional<Forma> forma = moodle(componentes[i]);
    if (!forma && ultimo) forma = canvas(componentes[i]);
    if (forma) {
      Procedencia p;
      p.participante = std::move(forma->participante);
      p.textoEnLinea = forma->textoEnLinea;
      p.carpeta = antes + componentes[i] + (i + 1 < componentes.size() ? "/" : "");
      // In a folder of its own the rest of the path is the participant's; in a file's
      // name, what follows the form is.
      p.propia = ultimo ? forma->resto : plataforma::junta(componentes, '/', i + 1);
      return p;
    }
    antes += componentes[i] + "/";
  }
  return std::nullopt;
}
