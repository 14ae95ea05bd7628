// An independent reader for the archives the tool writes.
#include "lector_zip.h"

#include <unzip.h>

#include <ctime>
#include <fstream>
#include <memory>

namespace {

struct CierraZip {
  void operator()(void* zip) const { unzClose(zip); }
};

std::uint32_t le(const unsigned char* p, int bytes) {
  std::uint32_t valor = 0;
  for (int i = bytes - 1; i >= 0; --i) valor = (valor << 8) | p[i];
  return valor;
}

}  // namespace

unsigned long fechaDosDeHoy() {
  const std::time_t ahora = std::time(nullptr);
  const std::tm* local = std::localtime(&ahora);
  return static_cast<unsigned long>(((local->tm_year + 1900 - 1980) << 9) |
                                    ((local->tm_mon + 1) << 5) | local->tm_mday);
}

bool leeZip(const std::string& ruta, std::vector<EntradaZip>& entradas, std::string& error,
            bool conDatos) {
  entradas.clear();
  std::unique_ptr<void, CierraZip> zip(unzOpen64(ruta.c_str()));
  if (!zip) {
    error = "unzOpen64 refuses " + ruta;
    return false;
  }
  std::ifstream bruto(ruta, std::ios::binary);
  for (int r = unzGoToFirstFile(zip.get()); r == UNZ_OK; r = unzGoToNextFile(zip.get())) {
    unz_file_info64 info;
    char nombre[4096];
    if (unzGetCurrentFileInfo64(zip.get(), &info, nombre, sizeof nombre, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      error = "unzGetCurrentFileInfo64";
      return false;
    }
    EntradaZip e;
    e.nombre = nombre;
    e.crc = static_cast<std::uint32_t>(info.crc);
    e.comprimido = info.compressed_size;
    e.tamano = info.uncompressed_size;
    e.version = info.version;
    e.versionNecesaria = info.version_needed;
    e.flag = info.flag;
    e.metodo = info.compression_method;
    e.fechaDos = info.dosDate;
    e.extra = info.size_file_extra;
    e.comentario = info.size_file_comment;
    e.atributosInternos = info.internal_fa;
    e.atributosExternos = info.external_fa;

    if (unzOpenCurrentFile(zip.get()) != UNZ_OK) {
      error = "unzOpenCurrentFile " + e.nombre;
      return false;
    }
    // The local header stands just before the data the reader positions at.
    const auto inicioDatos = static_cast<std::streamoff>(unzGetCurrentFileZStreamPos64(zip.get()));
    unsigned char cabecera[30];
    const std::streamoff local = inicioDatos - 30 - static_cast<std::streamoff>(e.nombre.size());
    std::streamoff extraLocal = -1;
    // The local extra field length is only known from the header; walk back over it.
    for (std::streamoff extra = 0; extra <= 0xFFFF && local - extra >= 0; ++extra) {
      bruto.seekg(local - extra);
      bruto.read(reinterpret_cast<char*>(cabecera), 30);
      if (bruto && le(cabecera, 4) == 0x04034b50 && le(cabecera + 28, 2) == extra &&
          le(cabecera + 26, 2) == e.nombre.size()) {
        extraLocal = extra;
        break;
      }
    }
    if (extraLocal < 0) {
      error = "no local header for " + e.nombre;
      return false;
    }
    e.versionLocal = le(cabecera + 4, 2);
    e.flagLocal = le(cabecera + 6, 2);
    e.fechaDosLocal = le(cabecera + 10, 4);
    e.extraLocal = static_cast<unsigned long>(extraLocal);

    if (conDatos) {
      char bloque[65536];
      int leidos;
      while ((leidos = unzReadCurrentFile(zip.get(), bloque, sizeof bloque)) > 0) {
        e.datos.append(bloque, static_cast<std::size_t>(leidos));
      }
      if (leidos < 0) {
        error = "unzReadCurrentFile " + e.nombre;
        return false;
      }
    }
    // With all data read this checks the CRC.
    if (unzCloseCurrentFile(zip.get()) != UNZ_OK && conDatos) {
      error = "bad CRC in " + e.nombre;
      return false;
    }
    entradas.push_back(std::move(e));
  }
  return true;
}
