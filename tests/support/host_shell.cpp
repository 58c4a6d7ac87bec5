#include "tests/support/host_shell.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/temp_dir.h"

namespace testing_support {

bool OnWine()
{
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

std::string HostPathOf(const std::string& path)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return std::string();
    wchar_t wide[MAX_PATH * 4];
    if (!::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 4))
        return std::string();
    char* host = unixName(wide);
    if (!host)
        return std::string();
    std::string result = host;
    ::HeapFree(::GetProcessHeap(), 0, host);
    return result;
}

int RunHostShell(const std::string& script)
{
    if (!OnWine())
        return -1;
    // Wine starts host programs but gives no handle to wait on: the script
    // leaves its exit status in a file, renamed into place when complete.
    static unsigned counter = 0;
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    char name[MAX_PATH + 64];
    std::sprintf(name, "%shost_%lu_%u.status", temp, ::GetCurrentProcessId(), ++counter);
    std::string status = name;
    std::string hostStatus = HostPathOf(status);
    if (hostStatus.empty())
        return -1;
    std::string command =
        "/bin/sh -c \"" + script + "\n echo $? > '" + hostStatus + ".part'; mv '" + hostStatus + ".part' '" + hostStatus + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA("Z:\\bin\\sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    // What Wine returns for a host program are no handles of this process:
    // closing them could close someone else's, so they are left alone.
    DWORD start = ::GetTickCount();
    while (!FileExists(status)) {
        if (::GetTickCount() - start > 60000)
            return -1;
        ::Sleep(5);
    }
    Bytes bytes;
    ReadFileBytes(status, bytes);
    const int code = std::atoi(std::string(bytes.begin(), bytes.end()).c_str());
    ::DeleteFileA(status.c_str());
    return code;
}

}  // namespace testing_support
