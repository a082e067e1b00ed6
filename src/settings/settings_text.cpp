// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <array>

#include "platform/exception.h"

namespace voxmere {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes the
// code page leaves undefined map to the C1 controls, as Windows does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeCp1252(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    text.append(QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b)));
  }
  return text;
}

std::optional<QByteArray> EncodeCp1252(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      bytes.append(static_cast<char>(u));
      continue;
    }
    int found = -1;
    for (int i = 0; i < static_cast<int>(kCp1252High.size()); ++i) {
      if (kCp1252High[i] == u) found = i;
    }
    if (found < 0) return std::nullopt;
    bytes.append(static_cast<char>(0x80 + found));
  }
  return bytes;
}

QString NativePath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

DecodedText DecodeSettingsText(const QByteArray& bytes) {
  static const QByteArray kBom("\xEF\xBB\xBF");
  const bool has_bom = bytes.startsWith(kBom);
  const QByteArray body = has_bom ? bytes.mid(kBom.size()) : bytes;
  // The mark is handled above; a second one is text. Stateless: an incomplete
  // character at the end is an error rather than held back for more input (a
  // Windows-1252 file ending in "é" would otherwise lose its last byte).
  QStringDecoder utf8(QStringDecoder::Utf8,
                      QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(body);
  if (!utf8.hasError()) {
    return {text, has_bom ? TextEncoding::kUtf8WithBom : TextEncoding::kUtf8};
  }
  return {DecodeCp1252(bytes), TextEncoding::kWindows1252};
}

QByteArray EncodeSettingsText(const QString& text, TextEncoding encoding) {
  // The first encoding whose bytes read back as the same text: Windows-1252
  // bytes can happen to form valid UTF-8 (and would then be read as UTF-8),
  // and a text that starts with U+FEFF needs a byte-order mark before it.
  for (TextEncoding choice : {encoding, TextEncoding::kUtf8, TextEncoding::kUtf8WithBom}) {
    std::optional<QByteArray> bytes;
    if (choice == TextEncoding::kWindows1252) {
      bytes = EncodeCp1252(text);
    } else {
      bytes = text.toUtf8();
      if (choice == TextEncoding::kUtf8WithBom) bytes->prepend("\xEF\xBB\xBF");
    }
    if (bytes && DecodeSettingsText(*bytes).text == text) return *bytes;
  }
  // Only text that is not valid Unicode (a lone surrogate) gets here.
  return text.toUtf8();
}

std::optional<QByteArray> ReadSettingsBytes(const QString& path) {
  QFile file(path);
  if (!file.exists()) return std::nullopt;
  if (!file.open(QIODevice::ReadOnly)) {
    throw Exception(
        QStringLiteral("Cannot read file %1: %2").arg(NativePath(path), file.errorString()));
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFile::NoError) {
    throw Exception(
        QStringLiteral("Cannot read file %1: %2").arg(NativePath(path), file.errorString()));
  }
  return bytes;
}

std::optional<DecodedText> ReadSettingsText(const QString& path) {
  auto bytes = ReadSettingsBytes(path);
  if (!bytes) return std::nullopt;
  return DecodeSettingsText(*bytes);
}

void WriteSettingsBytes(const QString& path, const QByteArray& bytes) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder)) {
    throw Exception(QStringLiteral("Cannot write file %1: cannot create folder %2")
                        .arg(NativePath(path), NativePath(folder)));
  }
  QSaveFile file(path);
  // QSaveFile::commit() does not report a failure of its own final flush (a
  // disk that fills up half-way would replace the file with a truncated one),
  // so flush first and check.
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
      !file.commit()) {
    throw Exception(
        QStringLiteral("Cannot write file %1: %2").arg(NativePath(path), file.errorString()));
  }
}

void DeleteSettingsFile(const QString& path) {
  QFile file(path);
  if (!file.exists()) return;
  if (!file.remove()) {
    throw Exception(
        QStringLiteral("Cannot delete file %1: %2").arg(NativePath(path), file.errorString()));
  }
}

}  // namespace voxmere
