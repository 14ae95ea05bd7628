// Grouping what was found by participant, and choosing what each row reviews.
#include "agrupacion.h"

#include "clasificacion.h"
#include "nombres_zip.h"
#include "participantes.h"
#include "texto.h"

#include <algorithm>
#include <map>

bool esZip(const std::string& nombre) { return pliega(extension(nombre)) == ".zip"; }

namespace {

/// What one participant handed in, in name order.
struct Grupo {
  Participante participante;
  std::vector<const Pieza*> zips;
  std::vector<std::string> propiosZip, propiosOtros;  // their own paths, for the findings
  bool textoEnLinea = false;
  const Pieza* primera = nullptr;  // the row's name when there is no .zip
};

// One row per participant: their entrega.zip (any letter case) or else their first .zip,
// with findings on everything else they handed in.
Trabajo trabajoDe(const Grupo& g) {
  std::size_t elegido = 0;
  for (std::size_t i = 0; i < g.zips.size(); ++i) {
    // By the participant's own name: in the flat form the campus's prefix comes before it.
    if (pliega(ultimoDeEntrada(g.propiosZip[i])) == "entrega.zip") {
      elegido = i;
      break;
    }
  }
  std::vector<std::string> otros = g.propiosOtros;
  if (g.textoEnLinea) otros.push_back("texto en línea");
  if (g.zips.empty()) {
    Trabajo trabajo{*g.primera, g.participante, {}};
    trabajo.pieza.problema =
        g.propiosOtros.empty() && g.textoEnLinea
            ? "No ha entregado ningún .zip; solo ha escrito texto en línea."
        : otros.empty() ? "No ha entregado ningún archivo."
                        : "No ha entregado ningún .zip; ha entregado: " + enumera(otros) + ".";
    return trabajo;
  }
  Trabajo trabajo{*g.zips[elegido], g.participante, {}};
  if (g.zips.size() > 1) {
    std::vector<std::string> resto = g.propiosZip;
    resto.erase(resto.begin() + static_cast<std::ptrdiff_t>(elegido));
    trabajo.previos.push_back("Ha entregado " + std::to_string(g.zips.size()) +
                              " archivos .zip: se revisa " + g.propiosZip[elegido] +
                              "; los demás no se revisan: " + enumera(resto) + ".");
  }
  if (!otros.empty()) {
    trabajo.previos.push_back("Además del .zip ha entregado: " + enumera(otros) + ".");
  }
  return trabajo;
}

}  // namespace

void agrupa(const std::vector<Pieza>& piezas, std::vector<Trabajo>& trabajos) {
  std::vector<Pieza const*> orden;
  for (const Pieza& p : piezas) orden.push_back(&p);
  std::sort(orden.begin(), orden.end(),
            [](const Pieza* a, const Pieza* b) { return a->nombre < b->nombre; });
  std::map<std::pair<std::string, std::string>, Grupo> grupos;
  for (const Pieza* pieza : orden) {
    Procedencia de;
    if (!procedenciaDe(pieza->nombre, de)) {
      if (!pieza->problema.empty() || (!pieza->carpeta && esZip(pieza->nombre))) {
        trabajos.push_back({*pieza, {}, {}});
      }
      continue;
    }
    Grupo& g = grupos[{de.participante.numero, de.participante.nombre}];
    if (g.primera == nullptr) g.participante = de.participante;
    // The row of one who handed no .zip in is named after their first file, or else their
    // folder.
    if (g.primera == nullptr || (g.primera->carpeta && !pieza->carpeta)) g.primera = pieza;
    const std::string propia = de.propia.empty() ? pieza->nombre : de.propia;
    if (!pieza->carpeta && esZip(pieza->nombre)) {
      g.zips.push_back(pieza);
      g.propiosZip.push_back(propia);
    } else if (de.textoEnLinea && !pieza->carpeta) {
      g.textoEnLinea = true;
    } else if (!pieza->problema.empty()) {
      g.propiosOtros.push_back(propia + " (" +
                               pieza->problema.substr(0, pieza->problema.size() - 1) + ")");
    } else if (!pieza->carpeta) {
      g.propiosOtros.push_back(propia);
    }
  }
  for (const auto& grupo : grupos) trabajos.push_back(trabajoDe(grupo.second));
}
