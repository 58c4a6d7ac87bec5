// The built exes as files: what they import, how they may be loaded, and
// that a comctl32.dll planted beside the program never runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

struct Image {
    WORD machine = 0;
    WORD dllCharacteristics = 0;
    WORD subsystem = 0;
    DWORD relocationBytes = 0;
    std::vector<std::string> imports;  // lower case
};

template <typename T>
bool At(const Bytes& file, size_t offset, T& out)
{
    if (offset > file.size() || file.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, file.data() + offset, sizeof(T));
    return true;
}

// The 32-bit or the 64-bit optional header: what the test reads of it.
template <typename Header>
bool ReadOptional(const Bytes& file, size_t offset, Image& image, IMAGE_DATA_DIRECTORY& imports)
{
    Header o;
    if (!At(file, offset, o))
        return false;
    image.dllCharacteristics = o.DllCharacteristics;
    image.subsystem = o.Subsystem;
    image.relocationBytes = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size;
    imports = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    return true;
}

// The headers and the import table of a PE file; false when it is not one.
bool ReadImage(const std::string& path, Image& image)
{
    Bytes file;
    IMAGE_DOS_HEADER dos;
    DWORD signature;
    IMAGE_FILE_HEADER header;
    WORD magic;
    if (!ReadFileBytes(path, file) || !At(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        !At(file, dos.e_lfanew, signature) || signature != IMAGE_NT_SIGNATURE || !At(file, dos.e_lfanew + 4, header))
        return false;
    const size_t optional = dos.e_lfanew + 4 + sizeof header;
    IMAGE_DATA_DIRECTORY imports;
    if (!At(file, optional, magic) ||
        !(magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC ? ReadOptional<IMAGE_OPTIONAL_HEADER32>(file, optional, image, imports)
                                                 : ReadOptional<IMAGE_OPTIONAL_HEADER64>(file, optional, image, imports)))
        return false;
    image.machine = header.Machine;

    // Addresses in the image to offsets in the file, through the sections.
    auto offsetOf = [&](DWORD rva, size_t& offset) {
        for (WORD i = 0; i < header.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER s;
            if (!At(file, optional + header.SizeOfOptionalHeader + i * sizeof s, s))
                return false;
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
                offset = rva - s.VirtualAddress + s.PointerToRawData;
                return true;
            }
        }
        return false;
    };
    size_t at;
    if (imports.Size == 0 || !offsetOf(imports.VirtualAddress, at))
        return false;
    for (IMAGE_IMPORT_DESCRIPTOR d; At(file, at, d) && d.Name != 0; at += sizeof d) {
        size_t name;
        if (!offsetOf(d.Name, name))
            return false;
        std::string dll;
        while (name < file.size() && file[name] != 0)
            dll += static_cast<char>(std::tolower(file[name++]));
        image.imports.push_back(dll);
    }
    return true;
}

std::string BinDir()
{
    const std::string exe = Tidymoth::ExePath();
    return exe.substr(0, exe.find_last_of('\\') + 1);
}

struct Arch {
    const char* name;
    WORD machine;
    WORD wanted;  // DllCharacteristics that must be set
};

const Arch kArchs[] = {
    {"x86", IMAGE_FILE_MACHINE_I386, IMAGE_DLLCHARACTERISTICS_NX_COMPAT | IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE},
    {"x64", IMAGE_FILE_MACHINE_AMD64,
     IMAGE_DLLCHARACTERISTICS_NX_COMPAT | IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA},
};

// The window program and the console program.
struct Exe {
    const char* name;
    WORD subsystem;
};

const Exe kExes[] = {{"Tidymoth.exe", IMAGE_SUBSYSTEM_WINDOWS_GUI}, {"TidymothC.exe", IMAGE_SUBSYSTEM_WINDOWS_CUI}};

// Every exe that was built: this suite's own and the other architecture's
// beside it. Only DLLs the system always loads from its own directory.
TEST(ImageTest, ImportsOnlyKnownSystemDllsWithDepAndAslrAndItsManifest)
{
    const char* known[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll", "msvcrt.dll"};
    Image self;
    ASSERT_TRUE(ReadImage(Tidymoth::ExePath(), self)) << Tidymoth::ExePath();
    for (const Arch& arch : kArchs) {
        for (const Exe& exe : kExes) {
            SCOPED_TRACE(std::string(arch.name) + " " + exe.name);
            const std::string path = BinDir() + "..\\..\\" + arch.name + "\\bin\\" + exe.name;
            Image image;
            if (!ReadImage(path, image)) {
                EXPECT_NE(arch.machine, self.machine) << "this suite's own exes must be readable";
                std::printf("[ note ] the %s %s is not built; not checked\n", arch.name, exe.name);
                continue;
            }
            EXPECT_EQ(arch.machine, image.machine);
            EXPECT_EQ(exe.subsystem, image.subsystem);
            EXPECT_EQ(arch.wanted, image.dllCharacteristics & arch.wanted);
            EXPECT_GT(image.relocationBytes, 0u) << "ASLR needs the relocations";
            for (const std::string& dll : image.imports)
                EXPECT_NE(std::end(known), std::find(std::begin(known), std::end(known), dll)) << dll;
            HMODULE data = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
            HRSRC found = ::FindResourceA(data, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
            ASSERT_TRUE(found);
            const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(data, found))), ::SizeofResource(data, found));
            ::FreeLibrary(data);
            for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                                     "publicKeyToken=\"6595b64144ccf1df\"", ">PerMonitorV2</dpiAwareness>", ">true</dpiAware>"})
                EXPECT_EQ(exe.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI, manifest.find(part) != std::string::npos) << part;
        }
    }
}

bool CopyBeside(const std::string& from, const std::string& dir, const char* name)
{
    return ::CopyFileA(from.c_str(), (dir + "\\" + name).c_str(), FALSE) != 0;
}

// The program and a control exe that imports the common controls statically,
// each started from a folder that holds a planted comctl32.dll. Windows finds
// a DLL it does not know in the application's folder first; Wine prefers its
// own comctl32 unless its tests' environment says otherwise (a change of the
// variable here does not reach the children). The control proves the plant.
TEST(ImageTest, PlantedCommonControlsNeverLoad)
{
    Tidymoth app;
    const std::string dir = app.StartDir();
    const std::string marker = dir + "\\planted.marker";
    ASSERT_TRUE(CopyBeside(BinDir() + "..\\planted\\comctl32.dll", dir, "comctl32.dll"));
    ASSERT_TRUE(CopyBeside(BinDir() + "planted_control.exe", dir, "planted_control.exe"));
    ASSERT_TRUE(CopyBeside(Tidymoth::ExePath(), dir, "Tidymoth.exe"));

    std::string command = "\"" + dir + "\\planted_control.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION control = {};
    ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup, &control));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(control.hProcess, WAIT_TIMEOUT_MS));
    ::CloseHandle(control.hThread);
    ::CloseHandle(control.hProcess);
    const bool controlLoadedIt = FileExists(marker);
    ::DeleteFileA(marker.c_str());
    EXPECT_TRUE(controlLoadedIt) << "the planted comctl32.dll did not load even for an exe that imports it";

    ASSERT_TRUE(app.Start(dir + "\\Tidymoth.exe"));
    EXPECT_TRUE(app.Sync());
    EXPECT_FALSE(FileExists(marker)) << "the program loaded the planted comctl32.dll";
    app.Kill();
}

}  // namespace
}  // namespace e2e
