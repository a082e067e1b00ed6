// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/cfg_keys.h"

#include "platform/exception.h"
#include "settings/ini_value.h"

namespace voxmere {
namespace {

[[noreturn]] void ThrowNoDefault(const CfgKey& key, const char* wanted) {
  throw Exception(QStringLiteral("The setting %1/%2 has no %3 default.")
                      .arg(key.section, key.key, QLatin1StringView(wanted)));
}

template <typename T>
T FixedDefault(const CfgKey& key, const char* wanted) {
  if (const T* value = std::get_if<T>(&key.default_value)) return *value;
  ThrowNoDefault(key, wanted);
}

}  // namespace

QString PlacementKeyForScreen(QStringView key, int screen_width, int screen_height) {
  return QStringLiteral("%1(%2x%3)").arg(key).arg(screen_width).arg(screen_height);
}

std::optional<int> CfgFile::TryReadInteger(const CfgKey& key) const {
  const std::optional<QString> text = TryReadString(key);
  return text ? ParseIniInteger(*text) : std::nullopt;
}

std::optional<QString> CfgFile::TryReadString(const CfgKey& key) const {
  return file_.ReadValue(key.section, key.key);
}

bool CfgFile::ReadBool(const CfgKey& key) const {
  const bool fallback = FixedDefault<bool>(key, "fixed true/false");
  return file_.ReadBool(key.section, key.key, fallback);
}

int CfgFile::ReadInteger(const CfgKey& key) const {
  return ReadInteger(key, FixedDefault<int>(key, "fixed numeric"));
}

int CfgFile::ReadInteger(const CfgKey& key, int fallback) const {
  return file_.ReadInteger(key.section, key.key, fallback);
}

QString CfgFile::ReadString(const CfgKey& key) const {
  return ReadString(key, FixedDefault<QStringView>(key, "fixed text").toString());
}

QString CfgFile::ReadString(const CfgKey& key, const QString& fallback) const {
  return file_.ReadString(key.section, key.key, fallback);
}

quint16 CfgFile::ReadHotKey(const CfgKey& key) const {
  return static_cast<quint16>(static_cast<unsigned>(ReadInteger(key)) & 0xFFFFu);
}

void CfgFile::WriteCloseMsg() const { file_.WriteBool(kCloseMsg.section, kCloseMsg.key, true); }

void CfgFile::WriteWelcomeDlg() const {
  file_.WriteBool(kWelcomeDlg.section, kWelcomeDlg.key, true);
}

}  // namespace voxmere
