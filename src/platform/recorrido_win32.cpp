// The walk's view of folders on Windows: the attributes and reparse tag of each listed
// entry for its kind, volume serial number and file index for identity.
#include "recorrido.h"
#include "sistema_win32.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <windows.h>

namespace plataforma {
namespace {

struct CierraBusqueda {
  void operator()(HANDLE h) const { FindClose(h); }
};

// What WSL makes on a Windows disk for a pipe, a character or block device and a Unix
// socket: entries that hold nothing to read.
constexpr DWORD kFifoDeWsl = 0x80000024, kCaracteresDeWsl = 0x80000025, kBloquesDeWsl = 0x80000026;

// A link to a file is what it leads to: opening it, links followed, tells a broken one.
Clase claseDelDestino(const std::wstring& ruta) {
  const Resultado<Manejador, unsigned long> destino = abre(ruta, 0, FILE_FLAG_BACKUP_SEMANTICS);
  BY_HANDLE_FILE_INFORMATION info;
  if (!destino || GetFileType(destino->get()) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(destino->get(), &info)) {
    return Clase::otro;
  }
  return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? Clase::enlaceADirectorio
                                                          : Clase::archivo;
}

Clase claseDe(const std::wstring& ruta, const WIN32_FIND_DATAW& datos) {
  const DWORD etiqueta =
      datos.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT ? datos.dwReserved0 : 0;
  if (datos.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    // Only links and junctions lead elsewhere: a folder that OneDrive or deduplication
    // keeps as a reparse point is the folder itself, and Downloads often lives there.
    return etiqueta == IO_REPARSE_TAG_SYMLINK || etiqueta == IO_REPARSE_TAG_MOUNT_POINT
               ? Clase::enlaceADirectorio
               : Clase::directorio;
  }
  if (etiqueta == IO_REPARSE_TAG_SYMLINK) return claseDelDestino(ruta);
  if (etiqueta == IO_REPARSE_TAG_AF_UNIX || etiqueta == kFifoDeWsl ||
      etiqueta == kCaracteresDeWsl || etiqueta == kBloquesDeWsl) {
    return Clase::otro;
  }
  return Clase::archivo;
}

// Whether `carpeta` is a folder, for a search that matched nothing at all: the root of an
// empty drive has no "." to match.
bool esCarpeta(const std::wstring& carpeta) {
  const DWORD atributos = GetFileAttributesW(carpeta.c_str());
  return atributos != INVALID_FILE_ATTRIBUTES && atributos & FILE_ATTRIBUTE_DIRECTORY;
}

}  // namespace

Resultado<std::vector<Elemento>> listaElementos(const std::string& directorio) {
  std::wstring carpeta;
  if (!convierte(directorio, carpeta)) {
    return Fallo{"No se ha podido abrir la carpeta", directorio,
                 razon(ERROR_NO_UNICODE_TRANSLATION)};
  }
  std::vector<Elemento> elementos;
  // "C:\" ends in its separator already, and "C:" is the drive's current folder.
  if (!carpeta.empty() && carpeta.back() != L'\\' && carpeta.back() != L'/' &&
      carpeta.back() != L':') {
    carpeta += L'\\';
  }
  WIN32_FIND_DATAW datos;
  std::unique_ptr<void, CierraBusqueda> busqueda(
      FindFirstFileExW((carpeta + L"*").c_str(), FindExInfoBasic, &datos, FindExSearchNameMatch,
                       nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (busqueda.get() == INVALID_HANDLE_VALUE) {
    busqueda.release();
    const DWORD error = GetLastError();
    if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) &&
        esCarpeta(carpeta.empty() ? L"." : carpeta)) {
      return elementos;
    }
    return Fallo{"No se ha podido abrir la carpeta", directorio, razon(error)};
  }
  do {
    const std::wstring ancho = datos.cFileName;
    if (ancho == L"." || ancho == L"..") continue;
    Elemento elemento;
    elemento.utf8 = convierte(ancho, elemento.nombre);
    if (!elemento.utf8) elemento.nombre = convierteConReemplazos(ancho);
    elemento.clase = claseDe(carpeta + ancho, datos);
    elementos.push_back(std::move(elemento));
  } while (FindNextFileW(busqueda.get(), &datos));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    return Fallo{"No se ha podido leer la carpeta", directorio, razon(error)};
  }
  std::sort(elementos.begin(), elementos.end(),
            [](const Elemento& a, const Elemento& b) { return a.nombre < b.nombre; });
  return elementos;
}

Resultado<Identidad> identidadDe(const std::string& ruta) {
  // No access rights, so that nothing is held from other programs; backup semantics, so
  // that folders open too.
  const Resultado<Manejador, unsigned long> manejador = abre(ruta, 0, FILE_FLAG_BACKUP_SEMANTICS);
  BY_HANDLE_FILE_INFORMATION info;
  if (!manejador || !GetFileInformationByHandle(manejador->get(), &info)) {
    const unsigned long error = manejador ? GetLastError() : manejador.error();
    return Fallo{"No se ha podido consultar el estado de", ruta, razon(error)};
  }
  return Identidad{info.dwVolumeSerialNumber,
                   static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
}

Resultado<Archivo> creaTemporal() {
  std::wstring carpeta(MAX_PATH + 1, L'\0');
  DWORD largo = GetTempPathW(static_cast<DWORD>(carpeta.size()), carpeta.data());
  if (largo > carpeta.size()) {
    carpeta.resize(largo);
    largo = GetTempPathW(static_cast<DWORD>(carpeta.size()), carpeta.data());
  }
  if (largo == 0 || largo > carpeta.size()) {
    return Fallo{"No se ha podido obtener la carpeta temporal", "", razon(GetLastError())};
  }
  carpeta.resize(largo);
  // Workers make temporary files side by side: the counter keeps their names apart, the
  // process and the time those of other runs.
  static std::atomic<unsigned long> contador{0};
  unsigned long error = 0;
  for (int intento = 0; intento < 100; ++intento) {
    const std::wstring nombre = carpeta + L"revisa-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(++contador) + L"-" +
                                std::to_wstring(GetTickCount64()) + L".tmp";
    // Shared with nobody, and removed by the system when its handle closes, even when the
    // process is killed.
    const HANDLE h =
        CreateFileW(nombre.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      Resultado<Archivo, unsigned long> archivo =
          comoArchivo(Manejador(h), Modo::lecturaYEscritura);
      if (archivo) return std::move(*archivo);
      error = archivo.error();
      break;
    }
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return Fallo{"No se ha podido crear un archivo temporal en", convierteConReemplazos(carpeta),
               razon(error)};
}

}  // namespace plataforma
