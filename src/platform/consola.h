// What a console program needs of the system: its arguments as UTF-8, output in UTF-8,
// and whether it runs on a console window of its own (started from the Explorer).
#pragma once

#include "archivos.h"

#include <string>
#include <vector>

namespace plataforma {

/// The arguments after the program's name, as they come (POSIX).
std::vector<std::string> argumentos(int argc, char** argv);

/// The arguments after the program's name, from UTF-16 to UTF-8 (Windows, through wmain).
/// A failure saying which when one has no UTF-8 form.
Resultado<std::vector<std::string>> argumentos(int argc, wchar_t** argv);

/// Makes the console show the UTF-8 the program writes.
void preparaConsola();

/// Whether the process is alone on its console: Windows opened a window for it, as it does
/// for a program started from the Explorer, and closes it when the program ends.
bool consolaPropia();

}  // namespace plataforma
