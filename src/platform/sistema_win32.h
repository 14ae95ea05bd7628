// Inside the platform layer on Windows: what the other files share.
#pragma once

#include <string>

namespace plataforma {

/// The system's text for a Win32 error code, in UTF-8, without its final full stop.
std::string razon(unsigned long error);

}  // namespace plataforma
