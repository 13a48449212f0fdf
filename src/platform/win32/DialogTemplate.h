// The in-memory template the program's windows are made from.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <vector>

namespace platform::win32 {

// A dialog template with no items, the default dialog font (8 point "MS
// Shell Dlg 2", so `style` wants DS_SETFONT) and the caption.
inline std::vector<WORD> DialogTemplate(DWORD style, const wchar_t* caption) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* head = reinterpret_cast<DLGTEMPLATE*>(t.data());
  head->style = style;
  head->dwExtendedStyle = 0;
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  for (const wchar_t* c = caption; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  t.push_back(8);  // point size
  for (const wchar_t* c = L"MS Shell Dlg 2"; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  if (t.size() % 2) t.push_back(0);  // DWORD alignment for items (there are none)
  return t;
}

}  // namespace platform::win32
