// Stands in for quillmark.exe where its resources are tested. Shows no
// window: it reports through its exit code whether the icon loads (bit 1),
// the manifest brought common controls 6 (bit 2) and made the process aware
// of each monitor's DPI (bit 4).
#include <windows.h>

#include <cwchar>

namespace {

// True when the process's activation context, made from the manifest,
// sends comctl32.dll to the side-by-side version 6. DllGetVersion is no
// proof: some comctl32 builds report 5.81 in either case.
bool CommonControls6() {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof data;
  return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                  &data) != FALSE;
}

// True when the activation context carries the manifest's per-monitor
// setting, as the loader read it: what user32 then applies.
bool PerMonitorAware() {
  wchar_t value[64] = L"";
  SIZE_T written = 0;
  if (!QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                            value, 64, &written))
    return false;
  return std::wcsncmp(value, L"PerMonitorV2", 12) == 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int faults = 0;
  if (!LoadIconW(instance, L"quillmark")) faults |= 1;
  if (!CommonControls6()) faults |= 2;
  if (!PerMonitorAware()) faults |= 4;
  return faults;
}
