// File-system operations on Windows: wide names inside, UTF-8 outside.
#include "archivos.h"
#include "resolucion.h"
#include "sistema_win32.h"

#include <algorithm>
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

Resultado<Archivo, unsigned long> comoArchivo(Manejador manejador, Modo modo) {
  const bool escritura = modo == Modo::lecturaYEscritura;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(manejador.get()),
                                         (escritura ? _O_RDWR : _O_RDONLY) | _O_BINARY);
  if (descriptor == -1) return static_cast<unsigned long>(ERROR_TOO_MANY_OPEN_FILES);
  manejador.release();
  Archivo archivo(_fdopen(descriptor, escritura ? "w+b" : "rb"));
  if (!archivo) {
    _close(descriptor);
    return static_cast<unsigned long>(ERROR_NOT_ENOUGH_MEMORY);
  }
  return archivo;
}

Resultado<Manejador, unsigned long> abre(const std::wstring& ruta, unsigned long acceso,
                                         unsigned long opciones) {
  const HANDLE h =
      CreateFileW(ruta.c_str(), acceso, kCompartido, nullptr, OPEN_EXISTING, opciones, nullptr);
  if (h == INVALID_HANDLE_VALUE) return static_cast<unsigned long>(GetLastError());
  return Manejador(h);
}

Resultado<Manejador, unsigned long> abre(const std::string& ruta, unsigned long acceso,
                                         unsigned long opciones) {
  std::wstring ancho;
  if (!convierte(ruta, ancho)) return static_cast<unsigned long>(ERROR_NO_UNICODE_TRANSLATION);
  return abre(ancho, acceso, opciones);
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

Resultado<std::vector<std::string>> listaDirectorio(const std::string& directorio) {
  WIN32_FIND_DATAW datos;
  std::wstring patron;
  if (!convierte(directorio, patron)) {
    return Fallo{"No se ha podido convertir el nombre del directorio", directorio,
                 razon(ERROR_NO_UNICODE_TRANSLATION)};
  }
  patron += L"\\*";
  std::vector<std::string> nombres;
  std::unique_ptr<void, CierraBusqueda> busqueda(
      FindFirstFileExW(patron.c_str(), FindExInfoBasic, &datos, FindExSearchNameMatch, nullptr, 0));
  if (busqueda.get() == INVALID_HANDLE_VALUE) {
    busqueda.release();
    const DWORD error = GetLastError();
    if (error == ERROR_NO_MORE_FILES) return nombres;
    return Fallo{"No se ha podido abrir el directorio", directorio, razon(error)};
  }
  do {
    const std::wstring ancho = datos.cFileName;
    if (ancho == L"." || ancho == L"..") continue;
    std::string nombre;
    if (!convierte(ancho, nombre)) {
      return Fallo{"No se ha podido convertir a UTF-8 un nombre del directorio", directorio,
                   razon(ERROR_NO_UNICODE_TRANSLATION)};
    }
    nombres.push_back(std::move(nombre));
  } while (FindNextFileW(busqueda.get(), &datos));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    return Fallo{"No se ha podido leer el directorio", directorio, razon(error)};
  }
  return nombres;
}

Resultado<Estado> consultaEstado(const std::string& ruta) {
  std::wstring ancho;
  // A value without a UTF-16 form, or a device's name, names no file of a delivery.
  if (!convierte(ruta, ancho) || esDispositivo(ancho)) return Estado::ausente;
  // Opening the path itself, without access rights, follows links to what they name.
  HANDLE h = CreateFileW(ancho.c_str(), 0, kCompartido, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (esAusencia(error)) return Estado::ausente;
    return Fallo{"No se ha podido consultar el estado de", ruta, razon(error)};
  }
  const Manejador archivo(h);
  // A pipe or a device answers no questions about files: it is no file.
  if (GetFileType(h) != FILE_TYPE_DISK) return Estado::otro;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) {
    return Fallo{"No se ha podido consultar el estado de", ruta, razon(GetLastError())};
  }
  return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? Estado::directorio : Estado::archivo;
}

std::string rutaDeProyecto(const std::string& valor) { return valor; }

Resultado<Archivo> abreArchivo(const std::string& ruta) {
  // _wfopen would share reading and writing but not deletion: a program holding the file
  // with the right to delete it would keep it out of the delivery.
  Resultado<Manejador, unsigned long> manejador = abre(ruta, GENERIC_READ, FILE_ATTRIBUTE_NORMAL);
  if (!manejador) return Fallo{"No se ha podido abrir", ruta, razon(manejador.error())};
  Resultado<Archivo, unsigned long> archivo = comoArchivo(std::move(*manejador), Modo::lectura);
  if (!archivo) return Fallo{"No se ha podido abrir", ruta, razon(archivo.error())};
  return std::move(*archivo);
}

Resultado<std::optional<Abierto>> abreLectura(const std::string& ruta) {
  const auto ilegible = [&ruta](unsigned long error) {
    return Fallo{"No se ha podido abrir", ruta, razon(error)};
  };
  Manejador manejador;
  // Antivirus scanners and cloud-sync clients hold a file for moments: about two seconds
  // of waiting for them before the file counts as one that cannot be read.
  for (int intento = 0;; ++intento) {
    // With backup semantics a directory opens too, and is told apart by its attributes.
    Resultado<Manejador, unsigned long> abierto =
        abre(ruta, GENERIC_READ, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN);
    if (abierto) {
      manejador = std::move(*abierto);
      break;
    }
    const unsigned long error = abierto.error();
    if (esAusencia(error) || error == ERROR_NO_UNICODE_TRANSLATION) return std::optional<Abierto>();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) || intento == 40) {
      return ilegible(error);
    }
    Sleep(50);
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(manejador.get()) != FILE_TYPE_DISK) return std::optional<Abierto>();
  if (!GetFileInformationByHandle(manejador.get(), &info)) return ilegible(GetLastError());
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::optional<Abierto>();
  const std::uint64_t tamano =
      static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  Resultado<Archivo, unsigned long> archivo = comoArchivo(std::move(manejador), Modo::lectura);
  if (!archivo) return ilegible(archivo.error());
  return std::optional<Abierto>(Abierto{std::move(*archivo), tamano});
}

// The portable walk gives the names the letter case they have on disk.
bool resuelveExistente(const std::string&, std::filesystem::path&) { return false; }

Resultado<std::size_t> leeEn(std::FILE* archivo, std::uint64_t posicion, void* destino,
                             std::size_t n) {
  // ReadFile at a given offset, on the handle under the stream: the stream's own position
  // and buffer are left alone, and threads may read one file side by side.
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(archivo)));
  std::size_t leidos = 0;
  while (leidos < n) {
    const std::uint64_t donde = posicion + leidos;
    OVERLAPPED desde{};
    desde.Offset = static_cast<DWORD>(donde);
    desde.OffsetHigh = static_cast<DWORD>(donde >> 32);
    const DWORD parte = static_cast<DWORD>(std::min<std::size_t>(n - leidos, 1u << 30));
    DWORD hecho = 0;
    if (!ReadFile(h, static_cast<char*>(destino) + leidos, parte, &hecho, &desde)) {
      const DWORD error = GetLastError();
      if (error == ERROR_HANDLE_EOF) break;
      return Fallo{"No se ha podido leer", "", razon(error)};
    }
    if (hecho == 0) break;
    leidos += hecho;
  }
  return leidos;
}

}  // namespace plataforma
