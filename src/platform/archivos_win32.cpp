// File-system operations on Windows: wide names inside, UTF-8 outside.
#include "archivos.h"
#include "resolucion.h"
#include "sistema_win32.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <windows.h>

namespace plataforma {
namespace {

namespace fs = std::filesystem;

// The one place where names cross between UTF-16 and UTF-8. False for a name that has no
// form in the other encoding (a lone surrogate, say).
bool convierte(const std::wstring& ancho, std::string& estrecho) {
  estrecho.clear();
  if (ancho.empty()) return true;
  const int largo =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, ancho.data(),
                          static_cast<int>(ancho.size()), nullptr, 0, nullptr, nullptr);
  if (largo <= 0) return false;
  estrecho.resize(static_cast<std::size_t>(largo));
  return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, ancho.data(),
                             static_cast<int>(ancho.size()), estrecho.data(), largo, nullptr,
                             nullptr) == largo;
}

fs::path camino(const std::string& ruta) { return fs::u8path(ruta); }

}  // namespace

std::string razon(unsigned long error) {
  wchar_t* texto = nullptr;
  const DWORD largo = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
  std::unique_ptr<wchar_t, decltype(&LocalFree)> propio(texto, &LocalFree);
  std::wstring mensaje(texto ? texto : L"", largo);
  while (!mensaje.empty() && (mensaje.back() == L'\n' || mensaje.back() == L'\r' ||
                              mensaje.back() == L' ' || mensaje.back() == L'.')) {
    mensaje.pop_back();
  }
  std::string salida;
  if (mensaje.empty() || !convierte(mensaje, salida)) salida = "error " + std::to_string(error);
  return salida;
}

namespace {

// The results that mean the path names nothing: not found, no such path, bad network
// path, invalid name, and names too long or malformed for the system.
bool esAusencia(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_BAD_NETPATH || error == ERROR_INVALID_NAME ||
         error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_BAD_PATHNAME ||
         error == ERROR_DIRECTORY;
}

struct CierraBusqueda {
  void operator()(HANDLE h) const { FindClose(h); }
};
struct CierraArchivo {
  void operator()(HANDLE h) const { CloseHandle(h); }
};

}  // namespace

std::string une(const std::string& directorio, const std::string& nombre) {
  return directorio + "\\" + nombre;
}

bool listaDirectorio(const std::string& directorio, std::vector<std::string>& nombres,
                     Fallo& fallo) {
  WIN32_FIND_DATAW datos;
  const std::wstring patron = camino(directorio).wstring() + L"\\*";
  std::unique_ptr<void, CierraBusqueda> busqueda(
      FindFirstFileExW(patron.c_str(), FindExInfoBasic, &datos, FindExSearchNameMatch, nullptr, 0));
  if (busqueda.get() == INVALID_HANDLE_VALUE) {
    busqueda.release();
    const DWORD error = GetLastError();
    if (error == ERROR_NO_MORE_FILES) return true;
    fallo.texto = "No se ha podido abrir el directorio " + directorio + ": " + razon(error);
    return false;
  }
  do {
    const std::wstring ancho = datos.cFileName;
    if (ancho == L"." || ancho == L"..") continue;
    std::string nombre;
    if (!convierte(ancho, nombre)) {
      fallo.texto = "No se ha podido convertir a UTF-8 un nombre del directorio " + directorio +
                    ": " + razon(ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
    nombres.push_back(std::move(nombre));
  } while (FindNextFileW(busqueda.get(), &datos));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    fallo.texto = "No se ha podido leer el directorio " + directorio + ": " + razon(error);
    return false;
  }
  return true;
}

bool consultaEstado(const std::string& ruta, Estado& estado, Fallo& fallo) {
  // Opening the path itself, without access rights, follows links to what they name.
  HANDLE h =
      CreateFileW(camino(ruta).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (esAusencia(error)) {
      estado = Estado::ausente;
      return true;
    }
    fallo.texto = "No se ha podido consultar el estado de " + ruta + ": " + razon(error);
    return false;
  }
  std::unique_ptr<void, CierraArchivo> archivo(h);
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) {
    fallo.texto = "No se ha podido consultar el estado de " + ruta + ": " + razon(GetLastError());
    return false;
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    estado = Estado::directorio;
  } else if (GetFileType(h) == FILE_TYPE_DISK) {
    estado = Estado::archivo;
  } else {
    estado = Estado::otro;
  }
  return true;
}

std::string rutaDeProyecto(const std::string& valor) { return valor; }

Apertura abreLectura(const std::string& ruta, std::ifstream& flujo, std::uint64_t& tamano) {
  std::error_code error;
  const fs::path archivo = camino(ruta);
  if (!fs::is_regular_file(archivo, error)) return Apertura::ausente;
  // Antivirus scanners and cloud-sync clients hold a file for moments: about two seconds
  // of waiting for them before the file counts as one that cannot be read.
  for (int intento = 0;; ++intento) {
    const HANDLE h = CreateFileW(archivo.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      break;
    }
    const DWORD fallo = GetLastError();
    if (esAusencia(fallo)) return Apertura::ausente;
    if ((fallo != ERROR_SHARING_VIOLATION && fallo != ERROR_LOCK_VIOLATION) || intento == 40) {
      return Apertura::ilegible;
    }
    Sleep(50);
  }
  tamano = fs::file_size(archivo, error);
  if (error) return Apertura::ilegible;
  // The wide name reaches _wfopen, which shares the file for reading and writing.
  flujo.open(archivo, std::ios::in | std::ios::binary);
  if (flujo.is_open()) return Apertura::abierto;
  return fs::is_regular_file(archivo, error) ? Apertura::ilegible : Apertura::ausente;
}

// The portable walk gives the names the letter case they have on disk.
bool resuelveExistente(const std::string&, std::filesystem::path&) { return false; }

}  // namespace plataforma
