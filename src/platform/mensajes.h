// Error and warning boxes: every finding reaches the user through these two.
#pragma once

#include <string>

/// Shows `texto` followed by "." in an error box; returns when it is closed.
void muestraError(const std::string& texto);

/// Shows `texto` followed by "." in a warning box; returns when it is closed.
void muestraAviso(const std::string& texto);
