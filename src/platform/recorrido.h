// What a walk over a folder tree needs: each entry's kind without following links to
// folders, any name (UTF-8 or not), and the identity of what it reaches, so that nothing
// is visited twice.
#pragma once

#include "archivos.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace plataforma {

/// What the system knows a file or folder by, whatever the path it is reached through:
/// device and inode, or volume serial number and file index.
struct Identidad {
  std::uint64_t volumen = 0, indice = 0;
  friend bool operator<(const Identidad& a, const Identidad& b) {
    return std::tie(a.volumen, a.indice) < std::tie(b.volumen, b.indice);
  }
};

enum class Clase {
  archivo,            // a regular file, or a link to one
  directorio,         // a folder itself, not a link to one
  enlaceADirectorio,  // a link (or junction) that leads to a folder: never followed
  otro,               // anything else: a device, a pipe, a broken link
};

/// One entry of a folder.
struct Elemento {
  std::string nombre;  // UTF-8; when the name has no UTF-8 form, what cannot be read is U+FFFD
  bool utf8 = true;    // false: `nombre` is only for showing, it does not name the entry
  Clase clase = Clase::otro;
};

/// One level of `directorio`, without "." and "..", sorted byte-wise by name. A failure,
/// saying what, where and why, when it cannot be listed; an entry whose kind cannot be had
/// is `otro`.
Resultado<std::vector<Elemento>> listaElementos(const std::string& directorio);

/// The identity of the file or folder `ruta`, links followed.
Resultado<Identidad> identidadDe(const std::string& ruta);

/// A file with no name, open for reading and writing, that the system removes when it is
/// closed or the process ends, however it ends.
Resultado<Archivo> creaTemporal();

}  // namespace plataforma
