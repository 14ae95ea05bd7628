// The form of every entry that comprobador writes, in one place: the writer sets it, and
// the review recognises the checker's archives by it.
#pragma once

#include <cstdint>

/// Files this large need the ZIP64 size fields; smaller ones keep the plain headers.
inline constexpr std::uint64_t kTamanoZip64 = 0xF0000000;

/// "Version made by": MS-DOS attributes, format version 3.6.
inline constexpr unsigned kVersionCreadora = 0x24;
/// Entry names in UTF-8.
inline constexpr unsigned kIndicadorUtf8 = 0x800;
/// The flags every entry ends up with: UTF-8 names, and the bit zlib's writer sets for
/// maximum compression.
inline constexpr unsigned kIndicadores = kIndicadorUtf8 | 0x2;
/// Deflate, at its maximum level.
inline constexpr unsigned kMetodo = 8;
inline constexpr int kNivel = 9;
/// The version needed to extract an entry, without and with the ZIP64 fields.
inline constexpr unsigned kVersionNecesaria = 20, kVersionNecesariaZip64 = 45;
