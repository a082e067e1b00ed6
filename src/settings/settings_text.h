// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace voxmere {

// How a settings file's bytes were encoded. Files written here are UTF-8;
// files that come from the Windows program are in its ANSI code page
// (Windows-1252) and keep that encoding when they are written back, as long
// as every character still fits in it.
enum class TextEncoding { kUtf8, kUtf8WithBom, kWindows1252 };

struct DecodedText {
  QString text;
  TextEncoding encoding = TextEncoding::kUtf8;
};

// Bytes that are valid UTF-8 are UTF-8 (a leading byte-order mark is dropped
// and remembered); anything else is Windows-1252.
DecodedText DecodeSettingsText(const QByteArray& bytes);

// Encodes in the given encoding when the bytes read back as the same text;
// otherwise (a character outside Windows-1252, Windows-1252 bytes that would
// read as UTF-8, a leading U+FEFF) in UTF-8, with a byte-order mark where
// needed, so that nothing is lost or changed.
QByteArray EncodeSettingsText(const QString& text, TextEncoding encoding);

// Whole-file read. A missing file gives no value; a file that exists but
// cannot be read raises an Exception naming the file.
std::optional<QByteArray> ReadSettingsBytes(const QString& path);
std::optional<DecodedText> ReadSettingsText(const QString& path);

// Atomic whole-file write: the bytes go to a temporary file beside the target,
// which then replaces it, so a failed or interrupted write leaves the old file
// whole. Missing folders are created. Failure raises an Exception naming the
// file.
void WriteSettingsBytes(const QString& path, const QByteArray& bytes);

// Removes the file. A missing file is no failure; one that cannot be removed
// raises an Exception naming it.
void DeleteSettingsFile(const QString& path);

}  // namespace voxmere
