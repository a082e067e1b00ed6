// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/clipboard.h"
#include "platform/event_pump.h"
#include "platform/focus_copy.h"
#include "platform/key_injector.h"
#include "reading/text_preparation.h"

namespace voxmere {

// The platform services capture goes through.
struct CaptureServices {
  Clipboard& clipboard;
  FocusCopy& focus_copy;
  KeyInjector& key_injector;
  EventPump& event_pump;
};

// The longest wait between the copy command and reading the clipboard; it
// ends earlier when the clipboard's owner changes.
inline constexpr int kCopyWaitMilliseconds = 100;

// The longest further wait for a copy that takes the focused application
// longer than kCopyWaitMilliseconds (a GTK editor copies 5 MB in about
// 250 ms, 20 MB in about a second); it ends when the application has handled
// Ctrl+C.
inline constexpr int kLateCopyWaitMilliseconds = 2000;

// Fetches the selected text of the focused application through the
// clipboard: saves what the clipboard holds, has our own focused field copy,
// types Ctrl+C, waits once (until the copy, at most the bound), reads the clipboard's text and puts
// the saved contents back. When the bound passes without a copy while the focused application holds
// a selection, it waits further until that application has handled Ctrl+C: a copy that came after
// the capture would otherwise replace the restored contents. When nothing was copied (the clipboard
// still has its owner and its text) the clipboard is left as it is. There is no retry: whatever the
// clipboard holds after the wait is the result.
//
// Runs on the user-interface thread; the wait handles waiting events, so
// other handlers (a further capture too) may run inside it. Failures
// (kCannotOpenClipboard) reach the caller; a failure at the read or the
// restore leaves the clipboard as the copy left it.
QString CaptureSelectedText(const CaptureServices& services);

// With read_directly, what is selected on the screen (the X11 primary
// selection) without a copy, so the clipboard is never touched; when that is
// empty, or its owner does not give it within the copy wait, and without
// read_directly, CaptureSelectedText.
QString TakeSelectedText(const CaptureServices& services, bool read_directly);

// TakeSelectedText, then text preparation of its text; returns the prepared
// text.
QString GetSelectedText(const CaptureServices& services, const PreparationInputs& inputs,
                        bool read_directly);

}  // namespace voxmere
