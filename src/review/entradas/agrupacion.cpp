// Grouping what was found by participant, and choosing what each row reviews.
#include "agrupacion.h"

#include "clasificacion.h"
#include "nombres_zip.h"
#include "redaccion.h"

#include <algorithm>
#include <map>

namespace {

/// What one participant handed in, in name order.
struct Grupo {
  Participante participante;
  std::vector<const Pieza*> zips;
  std::vector<std::string> propiosZip, propiosOtros;  // their own paths, for the findings
  bool textoEnLinea = false;
  const Pieza* primera = nullptr;  // the row's name when there is no .zip
};

bool esFallo(const Pieza& pieza) { return std::holds_alternative<plataforma::Fallo>(pieza.lugar); }

Trabajo trabajoDe(const Pieza& pieza, const Participante& participante) {
  Trabajo trabajo{pieza.nombre, participante, {}, {}};
  std::visit(
      [&trabajo](const auto& lugar) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(lugar)>, std::monostate>) {
          trabajo.lugar = lugar;
        }
      },
      pieza.lugar);
  return trabajo;
}

// One row per participant: their entrega.zip (any letter case) or else their first .zip,
// with findings on everything else they handed in.
Trabajo trabajoDe(const Grupo& g) {
  std::vector<std::string> otros = g.propiosOtros;
  if (g.textoEnLinea) otros.push_back("texto en línea");
  if (g.zips.empty()) {
    Trabajo trabajo{g.primera->nombre, g.participante, {}, {}};
    trabajo.previos.push_back(g.propiosOtros.empty() && g.textoEnLinea
                                  ? "No ha entregado ningún .zip; solo ha escrito texto en línea"
                              : otros.empty()
                                  ? "No ha entregado ningún archivo"
                                  : "No ha entregado ningún .zip; ha entregado: " + enumera(otros));
    return trabajo;
  }
  std::size_t elegido = 0;
  for (std::size_t i = 0; i < g.zips.size(); ++i) {
    // By the participant's own name: in the flat form the campus's prefix comes before it.
    if (pliega(ultimoDeEntrada(g.propiosZip[i])) == "entrega.zip") {
      elegido = i;
      break;
    }
  }
  Trabajo trabajo = trabajoDe(*g.zips[elegido], g.participante);
  if (g.zips.size() > 1) {
    std::vector<std::string> resto = g.propiosZip;
    resto.erase(resto.begin() + static_cast<std::ptrdiff_t>(elegido));
    trabajo.previos.push_back("Ha entregado " + std::to_string(g.zips.size()) +
                              " archivos .zip: se revisa " + g.propiosZip[elegido] +
                              "; los demás no se revisan: " + enumera(resto));
  }
  if (!otros.empty()) trabajo.previos.push_back("Además del .zip ha entregado: " + enumera(otros));
  return trabajo;
}

}  // namespace

std::vector<Trabajo> agrupa(const std::vector<Pieza>& piezas) {
  std::vector<const Pieza*> orden;
  for (const Pieza& p : piezas) orden.push_back(&p);
  std::sort(orden.begin(), orden.end(),
            [](const Pieza* a, const Pieza* b) { return a->nombre < b->nombre; });
  std::vector<Trabajo> trabajos;
  std::map<std::pair<std::string, std::string>, Grupo> grupos;
  for (const Pieza* pieza : orden) {
    const bool zip = !pieza->carpeta && esZip(pieza->nombre);
    const std::optional<Procedencia> de = procedenciaDe(pieza->nombre);
    if (!de) {
      if (esFallo(*pieza) || zip) trabajos.push_back(trabajoDe(*pieza, {}));
      continue;
    }
    Grupo& g = grupos[{de->participante.numero, de->participante.nombre}];
    if (g.primera == nullptr) g.participante = de->participante;
    // The row of one who handed no .zip in is named after their first file, or else their
    // folder.
    if (g.primera == nullptr || (g.primera->carpeta && !pieza->carpeta)) g.primera = pieza;
    const std::string propia = de->propia.empty() ? pieza->nombre : de->propia;
    if (zip) {
      g.zips.push_back(pieza);
      g.propiosZip.push_back(propia);
    } else if (de->textoEnLinea && !pieza->carpeta) {
      g.textoEnLinea = true;
    } else if (esFallo(*pieza)) {
      g.propiosOtros.push_back(propia + " (" + std::get<plataforma::Fallo>(pieza->lugar).texto() +
                               ")");
    } else if (!pieza->carpeta) {
      g.propiosOtros.push_back(propia);
    }
  }
  for (const auto& grupo : grupos) trabajos.push_back(trabajoDe(grupo.second));
  return trabajos;
}
