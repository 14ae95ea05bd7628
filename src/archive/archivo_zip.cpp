// Writing entrega.zip through minizip: every entry deflated at level 9 with a UTF-8 name.
#include "archivo_zip.h"

#include "archivos.h"
#include "escritura.h"

#include <cerrno>
#include <ctime>
#include <system_error>

namespace {

// The archive's bytes go where minizip's own standard C functions put them; only the file
// is made, and ended, by the platform: hidden while incomplete, and on the disk when closed.
voidpf ZCALLBACK abre(voidpf, const void* ruta, int) {
  return plataforma::creaOculto(static_cast<const char*>(ruta));
}

int ZCALLBACK cierraArchivo(voidpf, voidpf archivo) {
  return plataforma::cierraEnDisco(static_cast<std::FILE*>(archivo));
}

// What the C library said of the last call that failed, when minizip's own code is only
// that one did.
std::string razonDeErrno() { return errno != 0 ? std::generic_category().message(errno) : ""; }

// Beside the archive: no scan selects it, and a file browser does not show it.
std::string temporal(const std::string& ruta) {
  const std::string nombre = plataforma::ultimoComponente(ruta);
  const std::string oculto = "." + nombre + ".tmp";
  return nombre == ruta ? oculto : plataforma::une(plataforma::carpetaDe(ruta), oculto);
}

}  // namespace

ArchivoZip::~ArchivoZip() { descarta(); }

plataforma::Resultado<void> ArchivoZip::crea(const std::string& ruta) {
  // Every entry carries today's date at 00:00:00, so runs on one day give equal archives.
  datosEntrada = zip_fileinfo{};
  const std::time_t ahora = std::time(nullptr);
  if (const std::tm* local = std::localtime(&ahora)) {
    datosEntrada.tmz_date.tm_mday = static_cast<uInt>(local->tm_mday);
    datosEntrada.tmz_date.tm_mon = static_cast<uInt>(local->tm_mon);
    datosEntrada.tmz_date.tm_year = static_cast<uInt>(local->tm_year + 1900);
  }
  // Found out before anything is written, as writing over it would have found it.
  plataforma::Resultado<void> admitida = plataforma::admiteEscritura(ruta);
  if (!admitida) return admitida;
  zlib_filefunc64_def funciones;
  fill_fopen64_filefunc(&funciones);
  funciones.zopen64_file = abre;
  funciones.zclose_file = cierraArchivo;
  errno = 0;
  zip = zipOpen2_64(temporal(ruta).c_str(), APPEND_STATUS_CREATE, nullptr, &funciones);
  if (zip == nullptr) {
    const std::string razon = razonDeErrno();
    retiraResto(ruta);
    plataforma::borra(ruta);
    return plataforma::Fallo{"No se ha podido crear", ruta, razon};
  }
  ruta_ = ruta;
  return {};
}

plataforma::Resultado<void> ArchivoZip::escribeEntrada(const char* nombre, std::istream& flujo,
                                                       bool zip64) {
  const plataforma::Fallo fallo{"No se ha podido escribir la entrada", nombre};
  if (zip == nullptr) return fallo;
  errno = 0;
  if (zipOpenNewFileInZip4_64(zip, nombre, &datosEntrada, nullptr, 0, nullptr, 0, nullptr, kMetodo,
                              kNivel, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                              kVersionCreadora, kIndicadorUtf8, zip64 ? 1 : 0) != ZIP_OK) {
    return plataforma::Fallo{fallo.que, fallo.donde, razonDeErrno()};
  }
  bool escrito = true;
  char bloque[1024];
  while (escrito && flujo) {
    flujo.read(bloque, sizeof bloque);
    // The block that ends the file is written too, even when it is empty.
    escrito = zipWriteInFileInZip(zip, bloque, static_cast<unsigned>(flujo.gcount())) == ZIP_OK;
  }
  const std::string razon = escrito ? "" : razonDeErrno();
  // Only the end of the file may stop the reads; anything else truncates the entry.
  const bool leido = flujo.eof() && !flujo.bad();
  const bool cerrado = zipCloseFileInZip(zip) == ZIP_OK;
  if (!leido) return plataforma::Fallo{fallo.que, fallo.donde, "su origen no se ha leído entero"};
  if (!escrito || !cerrado) return plataforma::Fallo{fallo.que, fallo.donde, razon};
  return {};
}

plataforma::Resultado<void> ArchivoZip::cierra() {
  if (zip == nullptr) return plataforma::Fallo{"No se ha podido cerrar un archivo sin crear"};
  errno = 0;
  const int resultado = zipClose(zip, nullptr);
  const std::string razon = razonDeErrno();
  zip = nullptr;
  plataforma::Resultado<void> puesto =
      resultado == ZIP_OK ? plataforma::sustituye(temporal(ruta_), ruta_)
                          : plataforma::Fallo{"No se ha podido terminar", ruta_, razon};
  if (puesto) return puesto;
  // No archive stays that could pass for this one.
  retiraResto(ruta_);
  plataforma::borra(ruta_);
  return puesto;
}

void ArchivoZip::descarta() {
  if (zip == nullptr) return;
  zipClose(zip, nullptr);
  zip = nullptr;
  retiraResto(ruta_);
  plataforma::borra(ruta_);
}

void ArchivoZip::retiraResto(const std::string& ruta) { plataforma::borra(temporal(ruta)); }
