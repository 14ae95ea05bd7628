// From the rows to the comparison's participants and back.
#include "comparacion_filas.h"

Similitudes comparaFilas(std::vector<Fila>& filas, std::vector<Fila>& anteriores,
                         const std::vector<ArchivoFuente>& plantilla) {
  Similitudes s;
  std::vector<Fila*> comparadas;
  std::vector<Huellas> huellas;
  for (std::vector<Fila>* grupo : {&filas, &anteriores}) {
    for (Fila& f : *grupo) {
      // A row without code (not reviewable, or no project) has nothing to compare.
      if (f.revision.codigo.empty()) continue;
      comparadas.push_back(&f);
      s.participantes.push_back(&f);
      s.anteriores.push_back(grupo == &anteriores);
      huellas.push_back(std::move(f.huellas));
    }
  }
  s.plantillaDada = !plantilla.empty();
  const Huellas deLaPlantilla = huellasDePlantilla(plantilla);
  s.comparacion = compara(huellas, s.anteriores, s.plantillaDada ? &deLaPlantilla : nullptr);
  for (const Par& p : s.comparacion.pares) {
    if (!p.aviso) continue;
    comparadas[p.a]->parecida = true;
    comparadas[p.b]->parecida = true;
  }
  return s;
}
