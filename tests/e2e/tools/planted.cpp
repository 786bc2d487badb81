// A stand-in planted beside the launcher as comctl32, oleacc, oleaut32 and ole32: if it is ever loaded, it says so in
// C:\planted.log. The launcher must only ever load the system's own.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HANDLE log = CreateFileA("C:\\planted.log", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(log, "loaded\n", 7, &written, nullptr);
      CloseHandle(log);
    }
  }
  return TRUE;
}

// The entry points a caller would look for, so that nothing fails before DllMain has been seen.
extern "C" __declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*) { return TRUE; }
extern "C" __declspec(dllexport) void WINAPI InitCommonControls() {}
