// File-system operations on Windows: wide names inside, UTF-8 outside.
#include "archivos.h"
#include "resolucion.h"
#include "sistema_win32.h"

#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <memory>
#include <system_error>
#include <windows.h>

namespace plataforma {

// The one place where text crosses between UTF-16 and UTF-8: names, arguments, the
// system's messages. Strict both ways, so that a name read is the name that opens.
bool convierte(const std::wstring& ancho, std::string& estrecho) {
  estrecho.clear();
  if (ancho.empty()) return true;
  if (ancho.size() > INT_MAX) return false;
  const int largo =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, ancho.data(),
                          static_cast<int>(ancho.size()), nullptr, 0, nullptr, nullptr);
  if (largo <= 0) return false;
  estrecho.resize(static_cast<std::size_t>(largo));
  return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, ancho.data(),
                             static_cast<int>(ancho.size()), estrecho.data(), largo, nullptr,
                             nullptr) == largo;
}

bool convierte(const std::string& estrecho, std::wstring& ancho) {
  ancho.clear();
  if (estrecho.empty()) return true;
  if (estrecho.size() > INT_MAX) return false;
  const int largo = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, estrecho.data(),
                                        static_cast<int>(estrecho.size()), nullptr, 0);
  if (largo <= 0) return false;
  ancho.resize(static_cast<std::size_t>(largo));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, estrecho.data(),
                             static_cast<int>(estrecho.size()), ancho.data(), largo) == largo;
}

std::string convierteConReemplazos(const std::wstring& ancho) {
  // By hand rather than by the system's own replacement, which not every version makes.
  std::wstring sano = ancho;
  for (std::size_t i = 0; i < sano.size(); ++i) {
    const bool alto = sano[i] >= 0xD800 && sano[i] <= 0xDBFF;
    if (alto && i + 1 < sano.size() && sano[i + 1] >= 0xDC00 && sano[i + 1] <= 0xDFFF) {
      ++i;
    } else if (sano[i] >= 0xD800 && sano[i] <= 0xDFFF) {
      sano[i] = 0xFFFD;
    }
  }
  std::string estrecho;
  if (!convierte(sano, estrecho)) estrecho.clear();
  return estrecho;
}

namespace {

namespace fs = std::filesystem;

// Others may go on reading, writing, renaming and deleting what the tool reads.
constexpr DWORD kCompartido = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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

// The names Windows gives to devices in every directory (CON, NUL, COM1, ...), whatever
// the letter case, the extension or trailing blanks: opening one reaches the device.
bool esDispositivo(const std::wstring& ruta) {
  std::wstring nombre = ruta.substr(ruta.find_last_of(L"\\/") + 1);
  nombre = nombre.substr(0, nombre.find_first_of(L".:"));
  while (!nombre.empty() && nombre.back() == L' ') nombre.pop_back();
  for (wchar_t& c : nombre) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  if (nombre == L"CON" || nombre == L"PRN" || nombre == L"AUX" || nombre == L"NUL" ||
      nombre == L"CONIN$" || nombre == L"CONOUT$") {
    return true;
  }
  // COM1 to COM9 and LPT1 to LPT9, the superscript digits one to three included.
  return nombre.size() == 4 &&
         (nombre.compare(0, 3, L"COM") == 0 || nombre.compare(0, 3, L"LPT") == 0) &&
         ((nombre[3] >= L'1' && nombre[3] <= L'9') || nombre[3] == L'\u00B9' ||
          nombre[3] == L'\u00B2' || nombre[3] == L'\u00B3');
}

struct CierraBusqueda {
  void operator()(HANDLE h) const { FindClose(h); }
};

}  // namespace

void CierraManejador::operator()(void* manejador) const { CloseHandle(manejador); }

Archivo comoArchivo(Manejador manejador, Modo modo, unsigned long* error) {
  const bool escritura = modo == Modo::lecturaYEscritura;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(manejador.get()),
                                         (escritura ? _O_RDWR : _O_RDONLY) | _O_BINARY);
  if (descriptor == -1) {
    if (error) *error = ERROR_TOO_MANY_OPEN_FILES;
    return nullptr;
  }
  manejador.release();
  Archivo archivo(_fdopen(descriptor, escritura ? "w+b" : "rb"));
  if (!archivo) {
    _close(descriptor);
    if (error) *error = ERROR_NOT_ENOUGH_MEMORY;
  }
  return archivo;
}

Manejador abre(const std::wstring& ruta, unsigned long acceso, unsigned long opciones,
               unsigned long* error) {
  const HANDLE h =
      CreateFileW(ruta.c_str(), acceso, kCompartido, nullptr, OPEN_EXISTING, opciones, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (error) *error = GetLastError();
    return nullptr;
  }
  return Manejador(h);
}

Manejador abre(const std::string& ruta, unsigned long acceso, unsigned long opciones,
               unsigned long* error) {
  std::wstring ancho;
  if (!convierte(ruta, ancho)) {
    if (error) *error = ERROR_NO_UNICODE_TRANSLATION;
    return nullptr;
  }
  return abre(ancho, acceso, opciones, error);
}

bool camino(const std::string& ruta, fs::path& resultado) {
  std::wstring ancho;
  if (!convierte(ruta, ancho)) return false;
  resultado = std::move(ancho);
  return true;
}

bool utf8(const fs::path::string_type& nativo, std::string& resultado) {
  return convierte(nativo, resultado);
}

std::string une(const std::string& directorio, const std::string& nombre) {
  return directorio + "\\" + nombre;
}

bool listaDirectorio(const std::string& directorio, std::vector<std::string>& nombres,
                     Fallo& fallo) {
  WIN32_FIND_DATAW datos;
  std::wstring patron;
  if (!convierte(directorio, patron)) {
    fallo.texto = "No se ha podido convertir el nombre del directorio " + directorio + ": " +
                  razon(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  patron += L"\\*";
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
  std::wstring ancho;
  // A value without a UTF-16 form, or a device's name, names no file of a delivery.
  if (!convierte(ruta, ancho) || esDispositivo(ancho)) {
    estado = Estado::ausente;
    return true;
  }
  // Opening the path itself, without access rights, follows links to what they name.
  HANDLE h = CreateFileW(ancho.c_str(), 0, kCompartido, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (esAusencia(error)) {
      estado = Estado::ausente;
      return true;
    }
    fallo.texto = "No se ha podido consultar el estado de " + ruta + ": " + razon(error);
    return false;
  }
  const Manejador archivo(h);
  // A pipe or a device answers no questions about files: it is no file.
  if (GetFileType(h) != FILE_TYPE_DISK) {
    estado = Estado::otro;
    return true;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) {
    fallo.texto = "No se ha podido consultar el estado de " + ruta + ": " + razon(GetLastError());
    return false;
  }
  estado = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? Estado::directorio : Estado::archivo;
  return true;
}

std::string rutaDeProyecto(const std::string& valor) { return valor; }

Archivo abreArchivo(const std::string& ruta, unsigned long* error) {
  // _wfopen would share reading and writing but not deletion: a program holding the file
  // with the right to delete it would keep it out of the delivery.
  Manejador manejador = abre(ruta, GENERIC_READ, FILE_ATTRIBUTE_NORMAL, error);
  if (!manejador) return nullptr;
  return comoArchivo(std::move(manejador), Modo::lectura, error);
}

Apertura abreLectura(const std::string& ruta, Archivo& archivo, std::uint64_t& tamano,
                     unsigned long* error) {
  unsigned long codigo = 0;
  if (error == nullptr) error = &codigo;
  *error = 0;
  Manejador manejador;
  // Antivirus scanners and cloud-sync clients hold a file for moments: about two seconds
  // of waiting for them before the file counts as one that cannot be read.
  for (int intento = 0;; ++intento) {
    // With backup semantics a directory opens too, and is told apart by its attributes.
    manejador =
        abre(ruta, GENERIC_READ, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, error);
    if (manejador) break;
    if (esAusencia(*error) || *error == ERROR_NO_UNICODE_TRANSLATION) return Apertura::ausente;
    if ((*error != ERROR_SHARING_VIOLATION && *error != ERROR_LOCK_VIOLATION) || intento == 40) {
      return Apertura::ilegible;
    }
    Sleep(50);
  }
  *error = 0;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(manejador.get()) != FILE_TYPE_DISK) return Apertura::ausente;
  if (!GetFileInformationByHandle(manejador.get(), &info)) {
    *error = GetLastError();
    return Apertura::ilegible;
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Apertura::ausente;
  tamano = static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  archivo = comoArchivo(std::move(manejador), Modo::lectura, error);
  return archivo ? Apertura::abierto : Apertura::ilegible;
}

// The portable walk gives the names the letter case they have on disk.
bool resuelveExistente(const std::string&, std::filesystem::path&) { return false; }

std::size_t leeEn(std::FILE* archivo, std::uint64_t posicion, void* destino, std::size_t n,
                  unsigned long* error) {
  if (error) *error = 0;
  std::clearerr(archivo);
  if (_fseeki64(archivo, static_cast<__int64>(posicion), SEEK_SET) != 0) {
    if (error) *error = static_cast<unsigned long>(_doserrno);
    return 0;
  }
  const std::size_t leidos = std::fread(destino, 1, n, archivo);
  if (leidos < n && std::ferror(archivo) && error) *error = static_cast<unsigned long>(_doserrno);
  return leidos;
}

std::string razonDe(unsigned long error) { return razon(static_cast<DWORD>(error)); }

}  // namespace plataforma
