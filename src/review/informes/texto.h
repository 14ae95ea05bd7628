// Text that a student wrote (names, authors, findings that quote them) made safe to show:
// it is data wherever it goes, never markup, a formula or a terminal's command.
#pragma once

#include <cstddef>
#include <string>

/// `texto` as UTF-8 with every control character (C0, DEL, C1) and every byte that is not
/// UTF-8 shown as U+FFFD.
std::string legible(const std::string& texto);

/// The first `maximo` characters of `texto`, cut between two of them.
std::string recorta(const std::string& texto, std::size_t maximo);

/// `texto` escaped for any place of an HTML page, attributes included.
std::string escapaHtml(const std::string& texto);

/// What a student wrote, as text of a page: legible and escaped, never read as markup.
std::string textoHtml(const std::string& texto);
