// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "platform/hot_key_registrar.h"
#include "reading/short_cut.h"

namespace voxmere {

class GlobalHotKey;

// The main window's side of the hot keys: every hot key of the program is
// registered through it, takes its identifiers from its one counter, and hears
// of presses through it. It must outlive every hot key made with it.
class HotKeyOwner {
 public:
  explicit HotKeyOwner(HotKeyRegistrar& registrar);
  ~HotKeyOwner();
  HotKeyOwner(const HotKeyOwner&) = delete;
  HotKeyOwner& operator=(const HotKeyOwner&) = delete;

  HotKeyRegistrar& Registrar() const { return registrar_; }

  // Every hot key made with this owner and not yet destroyed, in the order of
  // creation; and the first of them with the given name (or nullptr).
  const std::vector<GlobalHotKey*>& Components() const { return components_; }
  GlobalHotKey* FindComponent(const QString& name) const;

  // The hot keys that are active, in the order they became so.
  const std::vector<GlobalHotKey*>& Listeners() const { return listeners_; }

  // The identifier the next activation will take.
  int NextIdentifier() const { return next_identifier_; }

 private:
  friend class GlobalHotKey;

  int TakeIdentifier() { return next_identifier_++; }
  void Add(GlobalHotKey* hot_key);
  void Remove(GlobalHotKey* hot_key);
  void StartListening(GlobalHotKey* hot_key);
  void StopListening(GlobalHotKey* hot_key);
  void Dispatch(int identifier);

  HotKeyRegistrar& registrar_;
  // One counter for the whole program: identifiers are never reused, so a
  // late press of a released registration can reach no other hot key.
  int next_identifier_ = 0;
  std::vector<GlobalHotKey*> components_;
  std::vector<GlobalHotKey*> listeners_;
};

// One system-wide hot key: registers its combination while active and calls
// OnHotKey on each press.
class GlobalHotKey {
 public:
  GlobalHotKey(HotKeyOwner& owner, const QString& name, int tag = 0);
  // Releases the registration if still active, so none outlives its hot key.
  ~GlobalHotKey();
  GlobalHotKey(const GlobalHotKey&) = delete;
  GlobalHotKey& operator=(const GlobalHotKey&) = delete;

  const QString& Name() const { return name_; }
  int Tag() const { return tag_; }
  ShortCut HotKey() const { return hot_key_; }
  bool Active() const { return active_; }
  // The identifier of the latest activation attempt; -1 before the first.
  int Identifier() const { return identifier_; }

  // Switching on registers with a new identifier each time; a refused
  // combination leaves the hot key inactive, without a word, until the next
  // attempt. Setting the value it already has does nothing.
  void SetActive(bool active);
  // A new combination; an active hot key is registered again at once, an
  // inactive one takes it at its next activation.
  void SetHotKey(ShortCut code);

  // Called with this hot key on each press. It may destroy or switch off any
  // hot key, this one included.
  std::function<void(GlobalHotKey&)> OnHotKey;

 private:
  void Activate();
  void Deactivate();

  HotKeyOwner& owner_;
  QString name_;
  int tag_;
  ShortCut hot_key_ = 0;
  bool active_ = false;
  int identifier_ = -1;
};

}  // namespace voxmere
