// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/selected_text.h"

#include "reading/reading_log.h"

namespace voxmere {

QString CaptureSelectedText(const CaptureServices& services) {
  // Kept per call, not program-wide: a capture that runs inside this one's
  // wait must not overwrite what this one puts back.
  const ClipboardContents saved = services.clipboard.Save();
  // Counted from here: a change later than this is the copy (ours or the
  // focused application's).
  const std::uint64_t owner_changes = services.clipboard.OwnerChanges();

  services.focus_copy.CopyFocusedSelection();

  // The hot key press still holds the keyboard grabbed for us, and a held
  // modifier (the Alt of Alt+Ins) turns Ctrl+C into a combination that many
  // applications ignore; end both before typing.
  services.key_injector.EndKeyboardGrab();
  services.key_injector.ReleaseHeldModifiers();
  services.key_injector.KeyEvent(KeyInjector::kVkControl, false);
  services.key_injector.KeyEvent(KeyInjector::kVkC, false);
  services.key_injector.KeyEvent(KeyInjector::kVkC, true);
  services.key_injector.KeyEvent(KeyInjector::kVkControl, true);

  services.event_pump.ProcessEvents();
  // Ends as soon as the clipboard's owner is set anew (also by the window
  // that held it already): the copy has happened and its owner answers our
  // read. A copy that never comes ends at the bound.
  services.event_pump.WaitUntil(kCopyWaitMilliseconds,
                                [&] { return services.clipboard.OwnerChanges() != owner_changes; });
  // An application with a large selection may still be copying it. Once it
  // has answered our request, sent after Ctrl+C, any copy of its own has
  // happened.
  if (services.clipboard.OwnerChanges() == owner_changes &&
      services.clipboard.AskFocusedSelectionOwner()) {
    services.event_pump.WaitUntil(kLateCopyWaitMilliseconds, [&] {
      return services.clipboard.OwnerChanges() != owner_changes ||
             services.clipboard.FocusedSelectionOwnerAnswered();
    });
  }
  services.event_pump.ProcessEvents();

  const QString captured = services.clipboard.Text();

  // Nothing was copied: putting the same data back would only make us its
  // owner, and on X11 the data would then vanish when the program ends.
  if (services.clipboard.Owner() == saved.owner && captured == saved.text) {
    qCDebug(ReadingLog,
            "Capture: the clipboard kept its owner and text (nothing was copied); that text is "
            "read");
    return captured;
  }
  services.clipboard.Restore(saved);
  return captured;
}

QString TakeSelectedText(const CaptureServices& services, bool read_directly) {
  if (read_directly) {
    QString selected = services.clipboard.PrimaryText(kCopyWaitMilliseconds);
    if (!selected.isEmpty()) return selected;
    qCDebug(ReadingLog, "Capture: no selection to read directly; copying it instead");
  }
  return CaptureSelectedText(services);
}

QString GetSelectedText(const CaptureServices& services, const PreparationInputs& inputs,
                        bool read_directly) {
  return PrepareText(TakeSelectedText(services, read_directly), inputs);
}

}  // namespace voxmere
