// Holds a file as another program would: retenedor.exe RUTA ACCESO COMPARTIR SEGUNDOS, the
// access and share mode in hex as CreateFileW takes them. Says "listo" once it holds it.
#include <cstdio>
#include <cwchar>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "uso: retenedor RUTA ACCESO COMPARTIR SEGUNDOS\n");
    return 2;
  }
  const DWORD acceso = std::wcstoul(argv[2], nullptr, 16);
  const DWORD compartir = std::wcstoul(argv[3], nullptr, 16);
  const HANDLE h = CreateFileW(argv[1], acceso, compartir, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    std::printf("error %lu\n", GetLastError());
    return 1;
  }
  std::printf("listo\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(std::wcstod(argv[4], nullptr) * 1000));
  CloseHandle(h);
  return 0;
}
