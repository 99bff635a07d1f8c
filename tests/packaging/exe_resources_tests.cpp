// The Windows executable's resources, read back through the Win32 API as Explorer reads them:
// the version resource carries the project's version, the icon loads at the sizes Windows asks
// for, the manifest keeps the game DPI-unaware, and a Release exe carries no symbols. The
// installer, where it was made, carries the version and the game's icon too.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const char ExePath[] = "zelu-line.exe"; // the tests run in the build folder

std::string VersionString(const std::vector<char> &block, const char *name,
                          const std::string &strings = "040904B0") {
  char *value = nullptr;
  UINT length = 0;
  const std::string path = "\\StringFileInfo\\" + strings + "\\" + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &length))
    return "(missing)";
  return std::string(value, length > 0 ? length - 1 : 0);
}

class ExeModule : public testing::Test {
protected:
  void SetUp() override {
    module = LoadLibraryExA(ExePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << "cannot load " << ExePath << ": " << GetLastError();
  }
  void TearDown() override {
    if (module != nullptr)
      FreeLibrary(module);
  }
  HMODULE module = nullptr;
};

TEST(VersionResource, ReadsBackTheProjectVersion) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(ExePath, &handle);
  ASSERT_GT(size, 0u) << GetLastError();
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(ExePath, 0, size, block.data()));

  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, (ZELU_VERSION_MAJOR << 16u) | ZELU_VERSION_MINOR);
  EXPECT_EQ(fixed->dwFileVersionLS, ZELU_VERSION_PATCH << 16u);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  EXPECT_EQ(VersionString(block, "ProductVersion"), ZELU_VERSION);
  EXPECT_EQ(VersionString(block, "FileVersion"), ZELU_VERSION);
  EXPECT_EQ(VersionString(block, "ProductName"), "Zelu's Line");
  EXPECT_EQ(VersionString(block, "OriginalFilename"), "zelu-line.exe");
}

TEST_F(ExeModule, IconLoadsAtTheSizesWindowsAsksFor) {
  ASSERT_NE(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)), nullptr)
      << "no icon group 1"; // RT_GROUP_ICON
  for (int size : {16, 32, 48, 256}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr) << size << " px: " << GetLastError();
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST_F(ExeModule, ManifestNamesSupportedSystemsAndStaysDpiUnaware) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
  ASSERT_NE(found, nullptr) << "no manifest";
  const char *text = static_cast<const char *>(LockResource(LoadResource(module, found)));
  ASSERT_NE(text, nullptr);
  const std::string manifest(text, SizeofResource(module, found));
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                          "WindowsSettings\">false</dpiAware>"),
            std::string::npos);
  EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
  for (const char *system : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    // 7
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) { // 10 and 11
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + system + "\"/>"), std::string::npos)
        << system;
  }
  EXPECT_NE(manifest.find("version=\"" ZELU_VERSION ".0\""), std::string::npos);
}

#ifdef ZELU_RELEASE
// Neither a COFF symbol table nor DWARF sections (their long names show as "/n").
TEST(ReleaseExe, CarriesNoSymbolsOrDebugInformation) {
  std::ifstream in(ExePath, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(bytes.size(), sizeof(IMAGE_DOS_HEADER));
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, bytes.data(), sizeof dos);
  IMAGE_NT_HEADERS64 nt;
  ASSERT_LE(dos.e_lfanew + sizeof nt, bytes.size());
  std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
  EXPECT_EQ(nt.FileHeader.PointerToSymbolTable, 0u);
  EXPECT_EQ(nt.FileHeader.NumberOfSymbols, 0u);
  const std::size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                               nt.FileHeader.SizeOfOptionalHeader;
  for (int i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section;
    ASSERT_LE(sections + (i + 1) * sizeof section, bytes.size());
    std::memcpy(&section, bytes.data() + sections + i * sizeof section, sizeof section);
    const std::string name(reinterpret_cast<const char *>(section.Name),
                           strnlen(reinterpret_cast<const char *>(section.Name), 8));
    EXPECT_NE(name[0], '/') << "section " << name;
    EXPECT_NE(name.rfind(".debug", 0), 0u) << "section " << name;
  }
}
#endif

#ifdef ZELU_SETUP
// The string table that the version block's first translation names, as "040904B0".
std::string FirstTranslation(const std::vector<char> &block) {
  WORD *pair = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&pair),
                      &length) ||
      length < 2 * sizeof(WORD))
    return "(none)";
  char name[9];
  wsprintfA(name, "%04X%04X", pair[0], pair[1]);
  return name;
}

BOOL CALLBACK AddIconImage(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR images) {
  HRSRC found = FindResourceA(module, name, type);
  reinterpret_cast<std::vector<std::string> *>(images)->emplace_back(
      static_cast<const char *>(LockResource(LoadResource(module, found))),
      SizeofResource(module, found));
  return TRUE;
}

// Every icon image (RT_ICON) the module carries, in byte order.
std::vector<std::string> IconImages(HMODULE module) {
  std::vector<std::string> images;
  EnumResourceNamesA(module, MAKEINTRESOURCEA(3), AddIconImage,
                     reinterpret_cast<LONG_PTR>(&images));
  std::sort(images.begin(), images.end());
  return images;
}

TEST(Installer, CarriesTheProjectVersionAndTheGamesIcon) {
  const char *setup = ZELU_SETUP; // beside the exe, in the build folder
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(setup, &handle);
  ASSERT_GT(size, 0u) << setup << ": " << GetLastError();
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(setup, 0, size, block.data()));
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
  EXPECT_EQ(fixed->dwProductVersionMS, (ZELU_VERSION_MAJOR << 16u) | ZELU_VERSION_MINOR);
  EXPECT_EQ(fixed->dwProductVersionLS, ZELU_VERSION_PATCH << 16u);
  const std::string strings = FirstTranslation(block);
  EXPECT_EQ(VersionString(block, "ProductVersion", strings), ZELU_VERSION);
  EXPECT_EQ(VersionString(block, "ProductName", strings), "Zelu's Line");
  EXPECT_EQ(VersionString(block, "CompanyName", strings), "The zelu-line developers");

  // The game's icon: each of its images, and no other.
  HMODULE installer = LoadLibraryExA(setup, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(installer, nullptr) << GetLastError();
  HMODULE game = LoadLibraryExA(ExePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(game, nullptr) << GetLastError();
  const std::vector<std::string> wanted = IconImages(game);
  EXPECT_EQ(wanted.size(), 6u);
  EXPECT_TRUE(IconImages(installer) == wanted) << "the installer's icon is not the game's";
  FreeLibrary(game);
  FreeLibrary(installer);
}
#endif

} // namespace
