// The ZIP reader over minizip's unzip side, with file functions over any `Origen`.
#include "lector.h"

#include "codificacion.h"

#include <cstdio>
#include <cstring>

namespace {

using Flujo = LectorZip::Flujo;

voidpf ZCALLBACK abre64(voidpf opaco, const void*, int) { return opaco; }

uLong ZCALLBACK leeBloque(voidpf, voidpf flujo, void* destino, uLong n) {
  auto* f = static_cast<Flujo*>(flujo);
  const std::size_t leidos = f->origen->lee(f->posicion, destino, n);
  f->posicion += leidos;
  return static_cast<uLong>(leidos);
}

uLong ZCALLBACK escribe(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK posicion64(voidpf, voidpf flujo) { return static_cast<Flujo*>(flujo)->posicion; }

long ZCALLBACK busca64(voidpf, voidpf flujo, ZPOS64_T desplazamiento, int origen) {
  auto* f = static_cast<Flujo*>(flujo);
  std::uint64_t base = 0;
  if (origen == ZLIB_FILEFUNC_SEEK_CUR) base = f->posicion;
  if (origen == ZLIB_FILEFUNC_SEEK_END) base = f->origen->tamano();
  const std::uint64_t destino = base + desplazamiento;
  if (destino < base || destino > f->origen->tamano()) return -1;
  f->posicion = destino;
  return 0;
}

int ZCALLBACK cierra(voidpf, voidpf) { return 0; }

int ZCALLBACK sinError(voidpf, voidpf) { return 0; }

}  // namespace

LectorZip::LectorZip(std::unique_ptr<Origen> origen) : origen(std::move(origen)) {
  flujo.origen = this->origen.get();
}

LectorZip::~LectorZip() {
  if (zip != nullptr) unzClose(zip);
}

bool LectorZip::abre(std::size_t maximo, std::string& error) {
  zlib_filefunc64_def funciones{};
  funciones.zopen64_file = abre64;
  funciones.zread_file = leeBloque;
  funciones.zwrite_file = escribe;
  funciones.ztell64_file = posicion64;
  funciones.zseek64_file = busca64;
  funciones.zclose_file = cierra;
  funciones.zerror_file = sinError;
  funciones.opaque = &flujo;
  zip = unzOpen2_64("", &funciones);
  if (zip == nullptr) {
    char firma[4] = {};
    const bool pk = origen->lee(0, firma, sizeof firma) == sizeof firma &&
                    std::memcmp(firma, "PK\x03\x04", 4) == 0;
    error = pk ? "El archivo ZIP está truncado o dañado: no se encuentra su directorio central"
               : "No es un archivo ZIP";
    return false;
  }
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(zip, &global) != UNZ_OK) {
    error = "El archivo ZIP está dañado: no se puede leer su directorio central";
    return false;
  }
  comentario_ = global.size_comment;
  if (global.number_entry > maximo) {
    error = "El archivo ZIP tiene demasiadas entradas (" + std::to_string(global.number_entry) +
            ", más de " + std::to_string(maximo) + ")";
    return false;
  }
  int resultado = global.number_entry == 0 ? UNZ_END_OF_LIST_OF_FILE : unzGoToFirstFile(zip);
  while (resultado == UNZ_OK) {
    Cabecera cabecera;
    char nombre[65536];
    if (unzGetCurrentFileInfo64(zip, &cabecera.info, nombre, sizeof nombre, nullptr, 0, nullptr,
                                0) != UNZ_OK ||
        unzGetFilePos64(zip, &cabecera.posicion) != UNZ_OK) {
      break;
    }
    cabecera.nombre = nombreDeEntrada(std::string(nombre, cabecera.info.size_filename),
                                      (cabecera.info.flag & 0x800) != 0);
    cabeceras_.push_back(std::move(cabecera));
    resultado = unzGoToNextFile(zip);
  }
  if (resultado != UNZ_END_OF_LIST_OF_FILE || cabeceras_.size() != global.number_entry) {
    error = "El archivo ZIP está dañado: no se puede leer su directorio central";
    return false;
  }
  return true;
}

bool LectorZip::inflaEntrada(std::size_t i,
                             const std::function<bool(const char*, std::size_t)>& bloque,
                             unsigned long& extraLocal, std::string& error) {
  const Cabecera& cabecera = cabeceras_[i];
  const std::string entrada = "la entrada " + cabecera.nombre;
  unz64_file_pos posicion = cabecera.posicion;
  if (unzGoToFilePos64(zip, &posicion) != UNZ_OK) {
    error = "El archivo ZIP está dañado: no se encuentra " + entrada;
    return false;
  }
  if (unzOpenCurrentFile(zip) != UNZ_OK) {
    error = cabecera.info.compression_method != 0 && cabecera.info.compression_method != 8
                ? "El archivo ZIP usa un método de compresión que no se puede leer (" +
                      std::to_string(cabecera.info.compression_method) + ") en " + entrada
                : "El archivo ZIP está dañado: la cabecera local de " + entrada + " no es válida";
    return false;
  }
  const int extra = unzGetLocalExtrafield(zip, nullptr, 0);
  extraLocal = extra > 0 ? static_cast<unsigned long>(extra) : 0;
  char datos[64 * 1024];
  std::uint64_t total = 0;
  int leidos;
  bool seguir = true;
  // minizip never inflates past the recorded size: an entry whose headers lie about it is
  // cut there, and then fails its CRC-32.
  while (seguir && (leidos = unzReadCurrentFile(zip, datos, sizeof datos)) > 0) {
    total += static_cast<std::uint64_t>(leidos);
    seguir = bloque(datos, static_cast<std::size_t>(leidos));
  }
  if (!seguir) {
    unzCloseCurrentFile(zip);
    error.clear();
    return false;
  }
  if (leidos < 0) {
    unzCloseCurrentFile(zip);
    error = "El archivo ZIP está dañado o truncado: no se puede descomprimir " + entrada;
    return false;
  }
  const int cierre = unzCloseCurrentFile(zip);
  if (total != cabecera.info.uncompressed_size) {
    error = "El archivo ZIP está dañado: " + entrada + " no tiene el tamaño que declara";
    return false;
  }
  if (cierre == UNZ_CRCERROR) {
    error = "El archivo ZIP está dañado: " + entrada + " no coincide con su CRC-32";
    return false;
  }
  if (cierre != UNZ_OK) {
    error = "El archivo ZIP está dañado: no se puede cerrar " + entrada;
    return false;
  }
  return true;
}

bool LectorZip::lee(std::size_t i, std::size_t limite, std::string& datos) {
  if (cabeceras_[i].info.uncompressed_size > limite) return false;
  datos.clear();
  datos.reserve(static_cast<std::size_t>(cabeceras_[i].info.uncompressed_size));
  unsigned long extra = 0;
  std::string error;
  return inflaEntrada(
      i,
      [&](const char* bloque, std::size_t n) {
        if (datos.size() + n > limite) return false;
        datos.append(bloque, n);
        return true;
      },
      extra, error);
}

std::string fechaDos(unsigned long dosDate) {
  const unsigned long fecha = (dosDate >> 16) & 0xFFFF;
  char texto[32];
  std::snprintf(texto, sizeof texto, "%04lu-%02lu-%02lu", 1980 + (fecha >> 9), (fecha >> 5) & 15,
                fecha & 31);
  return texto;
}
