// The client area's IAccessible. Nothing here throws: names are turned into BSTRs without any C++
// allocation, so no exception can reach the reader's call.
#include "platform/win32/accessible.h"

#include <utility>

#include "platform/win32/shell.h"

namespace platform {

namespace {

// Defined here rather than taken from uuid.lib, which would bring in every GUID the SDK knows.
constexpr GUID kIidUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

void SetEmpty(VARIANT* v) { v->vt = VT_EMPTY; }
void SetChild(VARIANT* v, LONG id) {
  v->vt = VT_I4;
  v->lVal = id;
}

}  // namespace

std::optional<AccessibilityLibrary> AccessibilityLibrary::Load() {
  AccessibilityLibrary l;
  // ole32 and oleaut32 first: oleacc's own imports then bind to the modules already loaded.
  const HMODULE ole32 = LoadSystemLibrary("ole32.dll");
  const HMODULE oleaut32 = LoadSystemLibrary("oleaut32.dll");
  const HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
  l.coInitializeEx = Lookup<CoInitializeExFunction>(ole32, "CoInitializeEx");
  l.coUninitialize = Lookup<CoUninitializeFunction>(ole32, "CoUninitialize");
  l.coDisconnectObject = Lookup<CoDisconnectObjectFunction>(ole32, "CoDisconnectObject");
  l.sysAllocStringLen = Lookup<SysAllocStringLenFunction>(oleaut32, "SysAllocStringLen");
  l.lresultFromObject = Lookup<LresultFromObjectFunction>(oleacc, "LresultFromObject");
  l.createStdAccessibleObject = Lookup<CreateStdAccessibleObjectFunction>(oleacc, "CreateStdAccessibleObject");
  if (!l.coInitializeEx || !l.coUninitialize || !l.coDisconnectObject || !l.sysAllocStringLen ||
      !l.lresultFromObject || !l.createStdAccessibleObject)
    return std::nullopt;
  return l;
}

class ClientAccessible final : public IAccessible {
 public:
  ClientAccessible(HWND window, ui::Form& form, UINT invokeMessage, const AccessibilityLibrary& library)
      : window_(window), form_(&form), invokeMessage_(invokeMessage), library_(library) {}

  void Disconnect() {
    window_ = nullptr;
    form_ = nullptr;
  }
  const AccessibilityLibrary& Library() const { return library_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualGUID(riid, kIidUnknown) || IsEqualGUID(riid, kIidDispatch) || IsEqualGUID(riid, kIidAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: no type information; readers call the IAccessible methods themselves.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    return library_.createStdAccessibleObject(window_, OBJID_WINDOW, kIidAccessible, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    *count = static_cast<LONG>(form_->readingOrder.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    const HRESULT known = Check(child);
    return FAILED(known) ? known : (IsSelf(child) ? E_INVALIDARG : S_FALSE);  // children are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (const HRESULT known = Check(child); FAILED(known)) return known;
    if (IsSelf(child)) {
      char caption[256] = {};
      GetWindowTextA(window_, caption, sizeof caption);
      return Text(caption, lstrlenA(caption), name);
    }
    const std::string& text = Spoken(child).name;
    return Text(text.data(), static_cast<int>(text.size()), name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return Nothing(child, value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    SetEmpty(role);
    if (const HRESULT known = Check(child); FAILED(known)) return known;
    SetChild(role, IsSelf(child) ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_LINK);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    SetEmpty(state);
    if (const HRESULT known = Check(child); FAILED(known)) return known;
    LONG flags = 0;
    if (IsSelf(child)) {
      flags = STATE_SYSTEM_FOCUSABLE | (GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0);
    } else {
      flags = STATE_SYSTEM_LINKED | (Spoken(child).control->Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE);
    }
    if (!IsWindowVisible(window_)) flags |= STATE_SYSTEM_INVISIBLE;
    SetChild(state, flags);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return Nothing(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    const HRESULT known = Check(child);
    return FAILED(known) ? known : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override { return Nothing(child, keys); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    SetEmpty(focus);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != window_) return S_FALSE;
    SetChild(focus, CHILDID_SELF);  // the window itself: no control takes the focus
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    SetEmpty(selection);
    return form_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    if (const HRESULT known = Check(child); FAILED(known)) return known;
    if (IsSelf(child) || !Spoken(child).control->Enabled()) return DISP_E_MEMBERNOTFOUND;
    return Text("Jump", 4, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT child) override {
    const HRESULT known = Check(child);
    return FAILED(known) ? known : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    if (const HRESULT known = Check(child); FAILED(known)) return known;
    ui::Rect r{0, 0, form_->clientSize.width, form_->clientSize.height};
    if (!IsSelf(child)) r = Spoken(child).control->Bounds();  // a bold link's wider bounds as they are now
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    *left = origin.x + r.left;
    *top = origin.y + r.top;
    *width = r.width;
    *height = r.height;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    SetEmpty(end);
    if (const HRESULT known = Check(start); FAILED(known)) return known;
    const LONG count = static_cast<LONG>(form_->readingOrder.size());
    LONG to = 0;
    if (IsSelf(start)) {
      if (direction == NAVDIR_FIRSTCHILD) to = 1;
      else if (direction == NAVDIR_LASTCHILD) to = count;
      else return S_FALSE;  // the window's neighbours are the system's to tell
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
      to = start.lVal + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
      to = start.lVal - 1;
    } else if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
      return E_INVALIDARG;
    }
    if (to < 1 || to > count) return S_FALSE;
    SetChild(end, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    SetEmpty(hit);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    POINT p{x, y};
    ScreenToClient(window_, &p);
    if (!ui::Rect{0, 0, form_->clientSize.width, form_->clientSize.height}.Contains({p.x, p.y})) return S_FALSE;
    SetChild(hit, form_->SpokenAt({p.x, p.y}) + 1);  // CHILDID_SELF between the controls
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (const HRESULT known = Check(child); FAILED(known)) return known;
    if (IsSelf(child) || !Spoken(child).control->Enabled()) return DISP_E_MEMBERNOTFOUND;
    // Run from the message loop, as a click is, never inside the reader's call.
    return PostMessageA(window_, invokeMessage_, static_cast<WPARAM>(child.lVal - 1), 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  static bool IsSelf(const VARIANT& child) { return child.lVal == CHILDID_SELF; }
  // S_OK for the object itself or one of its children, while the window is there.
  HRESULT Check(const VARIANT& child) const {
    if (!form_) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > static_cast<LONG>(form_->readingOrder.size()))
      return E_INVALIDARG;
    return S_OK;
  }
  const ui::Form::Spoken& Spoken(const VARIANT& child) const { return form_->readingOrder[child.lVal - 1]; }
  HRESULT Nothing(const VARIANT& child, BSTR* text) const {
    if (!text) return E_POINTER;
    *text = nullptr;
    const HRESULT known = Check(child);
    return FAILED(known) ? known : S_FALSE;
  }
  // The window's texts are in the ANSI code page, as GDI draws them.
  HRESULT Text(const char* text, int length, BSTR* out) const {
    const int wide = length ? MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0) : 0;
    *out = library_.sysAllocStringLen(nullptr, static_cast<UINT>(wide));
    if (!*out) return E_OUTOFMEMORY;
    if (wide) MultiByteToWideChar(CP_ACP, 0, text, length, *out, wide);
    return S_OK;
  }

  ULONG references_ = 1;
  HWND window_;
  ui::Form* form_;
  UINT invokeMessage_;
  AccessibilityLibrary library_;
};

AccessibleClient::AccessibleClient(HWND window, ui::Form& form, UINT invokeMessage, const AccessibilityLibrary& library) {
  // Readers' calls arrive through COM on this thread, between the messages of its loop.
  comStarted_ = SUCCEEDED(library.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  object_ = new ClientAccessible(window, form, invokeMessage, library);
}

AccessibleClient::~AccessibleClient() { Reset(); }

AccessibleClient::AccessibleClient(AccessibleClient&& other) noexcept
    : object_(std::exchange(other.object_, nullptr)), comStarted_(std::exchange(other.comStarted_, false)) {}

AccessibleClient& AccessibleClient::operator=(AccessibleClient&& other) noexcept {
  if (this != &other) {
    Reset();
    object_ = std::exchange(other.object_, nullptr);
    comStarted_ = std::exchange(other.comStarted_, false);
  }
  return *this;
}

void AccessibleClient::Reset() {
  if (!object_) return;
  const AccessibilityLibrary library = object_->Library();
  object_->Disconnect();
  library.coDisconnectObject(static_cast<IAccessible*>(object_), 0);  // readers in other processes let go
  object_->Release();
  object_ = nullptr;
  if (comStarted_) library.coUninitialize();
  comStarted_ = false;
}

LRESULT AccessibleClient::Answer(WPARAM wParam) const {
  return object_ ? object_->Library().lresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(object_)) : 0;
}

void AnnounceStateChange(HWND window, const ui::Form& form, const ui::Control& control) {
  for (std::size_t i = 0; i < form.readingOrder.size(); ++i)
    if (form.readingOrder[i].control == &control)
      NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, static_cast<LONG>(i + 1));
}

}  // namespace platform
