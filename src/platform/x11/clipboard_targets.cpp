// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/clipboard_targets.h"

#include <array>

namespace voxmere {
namespace {

constexpr std::array<const char*, 4> kTextTargets = {"UTF8_STRING", "text/plain;charset=utf-8",
                                                     "STRING", "text/plain"};

}  // namespace

bool IsSavedTarget(const QByteArray& target) {
  static const QByteArrayList kNotSaved = {
      // Requests about the selection itself rather than data.
      "TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "DELETE", "INSERT_SELECTION",
      "INSERT_PROPERTY", "ATOM_PAIR", "INCR",
      // Facts about the owner and the selection's place in it, not data
      // (X toolkits offer these with every selection).
      "CLIENT_WINDOW", "HOSTNAME", "HOST_NAME", "IP_ADDRESS", "DECNET_ADDRESS", "USER", "CLASS",
      "NAME", "OWNER_OS", "PROCESS", "TASK", "LENGTH", "LIST_LENGTH", "CHARACTER_POSITION",
      "LINE_NUMBER", "COLUMN_NUMBER", "SPAN",
      // The text, served again from the saved text.
      "UTF8_STRING", "STRING", "TEXT", "text/plain"};
  return !target.isEmpty() && !kNotSaved.contains(target);
}

QByteArrayList TextTargets(const QByteArrayList& offered) {
  QByteArrayList targets;
  for (const char* target : kTextTargets) {
    if (offered.isEmpty() || offered.contains(target)) targets << target;
  }
  return targets;
}

QString DecodeText(const QByteArray& target, const QByteArray& data) {
  const qsizetype zero = data.indexOf('\0');
  const QByteArray text = zero < 0 ? data : data.left(zero);
  return target == "STRING" ? QString::fromLatin1(text) : QString::fromUtf8(text);
}

}  // namespace voxmere
