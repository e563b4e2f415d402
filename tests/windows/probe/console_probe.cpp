// Stands in for quillmark-scan.exe where the resources and the packages are
// tested: --version answers as the real program does, --resources reads the
// program's own resources back through the Windows API.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void PrintVersionString(const std::vector<char>& block, const wchar_t* name) {
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), path.c_str(), &value, &length) && length > 0)
    std::printf("%ls=%ls\n", name, static_cast<const wchar_t*>(value));
  else
    std::printf("%ls missing\n", name);
}

int PrintResources() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(self, &ignored);
  if (size == 0) {
    std::puts("no version information");
    return 1;
  }
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(self, 0, size, block.data())) return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
    std::printf("fixed=%u.%u.%u.%u\n", unsigned{HIWORD(fixed->dwFileVersionMS)},
                unsigned{LOWORD(fixed->dwFileVersionMS)}, unsigned{HIWORD(fixed->dwFileVersionLS)},
                unsigned{LOWORD(fixed->dwFileVersionLS)});
  for (const wchar_t* name : {L"CompanyName", L"FileVersion", L"ProductName", L"ProductVersion", L"OriginalFilename"})
    PrintVersionString(block, name);
  std::printf("icon=%s\n", LoadIconW(GetModuleHandleW(nullptr), L"quillmark") ? "loaded" : "missing");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("quillmark-scan " QUILLMARK_VERSION);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--resources") == 0) return PrintResources();
  std::fputs("usage: quillmark-scan --version | --resources\n", stderr);
  return 2;
}
