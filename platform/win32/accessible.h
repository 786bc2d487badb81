// What a screen reader sees of the launcher window: one IAccessible for the client area whose
// children, simple elements 1 to 8, are the window model's controls in reading order.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <optional>

#include "ui/form.h"

namespace platform {

// The entry points the client object needs, from oleacc, oleaut32 and ole32 in the system folder,
// loaded the first time a reader asks for the object (a DLL of the same name beside the launcher is
// never loaded).
struct AccessibilityLibrary {
  using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using SysAllocStringLenFunction = BSTR(WINAPI*)(const OLECHAR*, UINT);
  using CoInitializeExFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
  using CoUninitializeFunction = void(WINAPI*)();
  using CoDisconnectObjectFunction = HRESULT(WINAPI*)(LPUNKNOWN, DWORD);

  LresultFromObjectFunction lresultFromObject = nullptr;
  CreateStdAccessibleObjectFunction createStdAccessibleObject = nullptr;
  SysAllocStringLenFunction sysAllocStringLen = nullptr;
  CoInitializeExFunction coInitializeEx = nullptr;
  CoUninitializeFunction coUninitialize = nullptr;
  CoDisconnectObjectFunction coDisconnectObject = nullptr;

  static std::optional<AccessibilityLibrary> Load();
};

class ClientAccessible;

// Owns the launcher's reference to the client object. Destroying it (when the window goes) cuts
// the object off from the window: every later call of a reader that still holds it answers
// CO_E_OBJNOTCONNECTED and touches nothing of the window's.
class AccessibleClient {
 public:
  AccessibleClient() = default;
  // Invoking a child posts `invokeMessage` to `window` with the child's place in the reading order
  // as wParam; the window procedure hands it to Form::Invoke.
  AccessibleClient(HWND window, ui::Form& form, UINT invokeMessage, const AccessibilityLibrary& library);
  ~AccessibleClient();
  AccessibleClient(AccessibleClient&& other) noexcept;
  AccessibleClient& operator=(AccessibleClient&& other) noexcept;
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  explicit operator bool() const { return object_ != nullptr; }
  // The answer to WM_GETOBJECT for OBJID_CLIENT.
  LRESULT Answer(WPARAM wParam) const;

 private:
  void Reset();
  ClientAccessible* object_ = nullptr;
  bool comStarted_ = false;
};

// Tells readers that `control` was enabled or disabled.
void AnnounceStateChange(HWND window, const ui::Form& form, const ui::Control& control);

}  // namespace platform
