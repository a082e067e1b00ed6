// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/global_hot_key.h"

#include <algorithm>

#include "reading/reading_log.h"

namespace voxmere {

namespace {
void Erase(std::vector<GlobalHotKey*>& list, GlobalHotKey* hot_key) {
  list.erase(std::remove(list.begin(), list.end(), hot_key), list.end());
}
}  // namespace

HotKeyOwner::HotKeyOwner(HotKeyRegistrar& registrar) : registrar_(registrar) {
  registrar_.SetPressHandler([this](int identifier) { Dispatch(identifier); });
}

HotKeyOwner::~HotKeyOwner() { registrar_.SetPressHandler({}); }

GlobalHotKey* HotKeyOwner::FindComponent(const QString& name) const {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&name](const GlobalHotKey* c) { return c->Name() == name; });
  return it == components_.end() ? nullptr : *it;
}

void HotKeyOwner::Add(GlobalHotKey* hot_key) { components_.push_back(hot_key); }

void HotKeyOwner::Remove(GlobalHotKey* hot_key) {
  Erase(components_, hot_key);
  Erase(listeners_, hot_key);
}

void HotKeyOwner::StartListening(GlobalHotKey* hot_key) { listeners_.push_back(hot_key); }

void HotKeyOwner::StopListening(GlobalHotKey* hot_key) { Erase(listeners_, hot_key); }

void HotKeyOwner::Dispatch(int identifier) {
  // Identifiers are unique, so at most one listener matches. A press for a
  // registration already released (still queued when it was released) finds
  // none and is dropped.
  auto it = std::find_if(
      listeners_.begin(), listeners_.end(),
      [identifier](const GlobalHotKey* hot_key) { return hot_key->Identifier() == identifier; });
  if (it == listeners_.end()) {
    qCDebug(ReadingLog, "A hot key press (registration %d) was dropped: it has been released",
            identifier);
    return;
  }
  GlobalHotKey& hot_key = **it;
  if (!hot_key.OnHotKey) return;
  // The handler may destroy its own hot key, and with it OnHotKey: run a copy.
  const auto handler = hot_key.OnHotKey;
  handler(hot_key);
}

GlobalHotKey::GlobalHotKey(HotKeyOwner& owner, const QString& name, int tag)
    : owner_(owner), name_(name), tag_(tag) {
  owner_.Add(this);
}

GlobalHotKey::~GlobalHotKey() {
  // The Windows component only stopped listening here and left the
  // registration to the program; releasing it is never wrong and keeps a
  // forgotten switch-off from holding the keys until the program ends.
  Deactivate();
  owner_.Remove(this);
}

void GlobalHotKey::SetActive(bool active) {
  if (active) {
    Activate();
  } else {
    Deactivate();
  }
}

void GlobalHotKey::SetHotKey(ShortCut code) {
  if (code == hot_key_) return;
  const bool was_active = active_;
  Deactivate();
  hot_key_ = code;
  if (was_active) Activate();
}

void GlobalHotKey::Activate() {
  if (active_) return;
  identifier_ = owner_.TakeIdentifier();
  unsigned modifiers = 0;
  if (hot_key_ & kScCtrl) modifiers |= HotKeyRegistrar::kModControl;
  if (hot_key_ & kScShift) modifiers |= HotKeyRegistrar::kModShift;
  if (hot_key_ & kScAlt) modifiers |= HotKeyRegistrar::kModAlt;
  // Bits 8..12 stay with the key, as the Windows program passes them.
  const unsigned virtual_key = hot_key_ & 0x1FFFu;
  if (!owner_.Registrar().RegisterHotKey(identifier_, modifiers, virtual_key)) {
    // The registrar logs why (voxmere.x11); the hot key stays inactive.
    if (virtual_key == 0) {
      qCDebug(ReadingLog, "%s stays off: it has no key", qUtf8Printable(name_));
    } else {
      qCWarning(ReadingLog, "%s (shortcut 0x%04X) stays off: the combination was refused",
                qUtf8Printable(name_), static_cast<unsigned>(hot_key_));
    }
    return;
  }
  owner_.StartListening(this);
  active_ = true;
}

void GlobalHotKey::Deactivate() {
  if (!active_) return;
  owner_.Registrar().UnregisterHotKey(identifier_);
  owner_.StopListening(this);
  active_ = false;
}

}  // namespace voxmere
