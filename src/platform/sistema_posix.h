// Inside the platform layer on POSIX systems: what its files share.
#pragma once

#include <string>
#include <system_error>

namespace plataforma {

/// The system's text for an errno value.
inline std::string razon(int error) { return std::generic_category().message(error); }

}  // namespace plataforma
