// ZIP's own constants in one place: the records' signatures and fixed sizes, the flags and
// methods both sides use, and the form of every entry that comprobador writes, which the
// writer sets and the review recognises.
#pragma once

#include <cstddef>
#include <cstdint>

// The signatures that begin each record.
inline constexpr std::uint32_t kFirmaLocal = 0x04034B50;
inline constexpr std::uint32_t kFirmaCentral = 0x02014B50;
inline constexpr std::uint32_t kFirmaFin = 0x06054B50;
inline constexpr std::uint32_t kFirmaFin64 = 0x06064B50;
inline constexpr std::uint32_t kFirmaLocalizador64 = 0x07064B50;

// The fixed parts of the records, before their names, extra fields and comments.
inline constexpr std::size_t kCabeceraLocal = 30;
inline constexpr std::size_t kRegistroCentral = 46;
inline constexpr std::size_t kFin = 22;
inline constexpr std::size_t kLocalizador64 = 20;
inline constexpr std::size_t kFin64 = 56;
/// The longest comment an archive may end with: the end record lies within it and kFin.
inline constexpr std::size_t kComentarioMaximo = 0xFFFF;
/// A 32-bit size or offset field that holds all ones has its value in the ZIP64 extra field.
inline constexpr std::uint64_t kEnZip64 = 0xFFFFFFFF;
/// The ZIP64 extra field's id.
inline constexpr unsigned kExtraZip64 = 1;

// The general-purpose flags.
inline constexpr unsigned kIndicadorCifrado = 0x1;
inline constexpr unsigned kIndicadorUtf8 = 0x800;

// The compression methods.
inline constexpr unsigned kMetodoGuardado = 0;
inline constexpr unsigned kMetodoDeflate = 8;
/// What deflate can make of one compressed byte at the most: a length of 258 from two bits.
inline constexpr std::uint64_t kDeflateMaximo = 1032;

// The form of every entry comprobador writes.
/// Files this large need the ZIP64 size fields; smaller ones keep the plain headers.
inline constexpr std::uint64_t kTamanoZip64 = 0xF0000000;
/// "Version made by": MS-DOS attributes, format version 3.6.
inline constexpr unsigned kVersionCreadora = 0x24;
/// The flags every entry ends up with: UTF-8 names, and the bit zlib's writer sets for
/// maximum compression.
inline constexpr unsigned kIndicadores = kIndicadorUtf8 | 0x2;
/// Deflate, at its maximum level.
inline constexpr unsigned kMetodo = kMetodoDeflate;
inline constexpr int kNivel = 9;
/// The version needed to extract an entry, without and with the ZIP64 fields.
inline constexpr unsigned kVersionNecesaria = 20, kVersionNecesariaZip64 = 45;
