// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace voxmere {

// The Windows program reads a value into a 2048-character buffer, so at most
// 2047 characters of it reach the program.
inline constexpr qsizetype kIniValueMaxLength = 2047;

// An integer as the Windows program reads one: leading blanks, an optional
// sign, then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or
// "0X". Hexadecimal takes up to 32 bits as two's complement ($FFFFFFFF is -1);
// decimal must fit a 32-bit int. Anything else (trailing text, no digits,
// overflow) gives no value.
std::optional<int> ParseIniInteger(QStringView text);

// A stored number read as ParseIniInteger reads it, for places where a number
// that is not one is a failure: raises an Exception with the Windows program's
// "'<text>' is not a valid integer value".
int StoredInteger(const QString& text);

// The part of a key line's text after "=" that the program sees: blanks and
// tabs around it removed, then cut to kIniValueMaxLength characters (never in
// the middle of a surrogate pair).
QString TrimIniValue(QStringView text);

// Blanks and tabs removed from both ends: how names and values are trimmed in
// INI lines (other white space is part of the text).
QStringView TrimIniBlanks(QStringView text);

}  // namespace voxmere
