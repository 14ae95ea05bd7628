// The ZIP reader: its directory and its entries, over any origin of bytes.
#include "lector.h"

LectorZip::LectorZip(std::unique_ptr<Origen> origen, std::string archivo)
    : origen(std::move(origen)), archivo(std::move(archivo)) {}

bool LectorZip::abre(std::size_t maximo, std::string& error) {
  return leeDirectorio(*origen, maximo, directorio, error);
}

bool LectorZip::inflaEntrada(std::size_t i, const Inflador::Bloque& bloque, unsigned& extraLocal,
                             std::string& error) {
  return inflador.infla(*origen, directorio.registros[i], bloque, extraLocal, error, archivo);
}

bool LectorZip::lee(std::size_t i, std::size_t limite, std::string& datos) {
  const Registro& r = directorio.registros[i];
  if (r.descomprimido > limite) return false;
  datos.clear();
  datos.reserve(static_cast<std::size_t>(r.descomprimido));
  unsigned extra = 0;
  std::string error;
  return inflaEntrada(
      i,
      [&](const char* bloque, std::size_t n) {
        datos.append(bloque, n);
        return true;
      },
      extra, error);
}
