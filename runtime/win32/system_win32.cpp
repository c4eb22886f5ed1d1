#include "runtime/win32/system_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <knownfolders.h>

#include "runtime/command_line.h"
#include "runtime/win32/automation.h"
#include "runtime/win32/desktop_shell.h"

namespace qh {
namespace {

constexpr UINT kGbk = 936;
constexpr LCID kChineseSimplified = 2052;

std::wstring MultiToWide(UINT codePage, const std::string& t) {
    if (t.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, t.data(), static_cast<int>(t.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, t.data(), static_cast<int>(t.size()), w.data(), n);
    return w;
}

std::string WideToMulti(UINT codePage, const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string t(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), t.data(), n, nullptr,
                        nullptr);
    return t;
}

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
        case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegistryRoot::Users: return HKEY_USERS;
    }
    return HKEY_CURRENT_USER;
}

int NativeShowMode(int showMode) {
    switch (showMode) {
        case kShowHidden: return SW_HIDE;
        case kShowMinimized: return SW_SHOWMINIMIZED;
        case kShowMaximized: return SW_SHOWMAXIMIZED;
        case kShowNoActivate: return SW_SHOWNA;
        case kShowMinimizedNoActivate: return SW_SHOWMINNOACTIVE;
        default: return SW_SHOW;
    }
}

}  // namespace

std::wstring GbkToWide(const Text& t) { return MultiToWide(kGbk, t); }
Text WideToGbk(const std::wstring& w) { return WideToMulti(kGbk, w); }

std::string Win32System::GbkToUtf8(const Text& t) { return WideToMulti(CP_UTF8, GbkToWide(t)); }
Text Win32System::Utf8ToGbk(const std::string& utf8) { return WideToGbk(MultiToWide(CP_UTF8, utf8)); }

Text Win32System::ModulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return WideToGbk(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool Win32System::RunProgram(const Text& commandLine, bool wait, int showMode) {
    std::wstring line = GbkToWide(commandLine);
    line.push_back(L'\0');  // CreateProcessW may write into its command line
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(NativeShowMode(showMode));
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    if (wait) WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

bool Win32System::RunProgramElevated(const Text& commandLine) {
    // The shell takes the program and its parameters apart; "runas" makes it
    // ask the user's consent (UAC) even where the manifest would not.
    const CommandLineParts parts = SplitCommandLine(commandLine);
    if (parts.program.empty()) return false;
    const std::wstring file = GbkToWide(parts.program);
    const std::wstring parameters = GbkToWide(parts.parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // NOASYNC: the caller may end right after, so the start is complete on
    // return. NO_UI: a failure (the user declined, ERROR_CANCELLED, or no
    // such program) shows no box of the shell's; the caller goes on.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    // The shell may hand the start to COM objects; the calculator's
    // background thread has no COM of its own.
    ComScope com;
    return ShellExecuteExW(&info) != FALSE;
}

bool Win32System::RunProgramAsUser(const Text& program, const Text& parameters) {
    return StartThroughDesktopShell(program, parameters);
}

bool Win32System::FileExists(const Text& path) {
    return GetFileAttributesW(GbkToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32System::RenameFile(const Text& from, const Text& to) {
    return MoveFileW(GbkToWide(from).c_str(), GbkToWide(to).c_str()) != 0;
}

std::optional<Text> Win32System::ReadEnvironment(const Text& name) {
    const std::wstring wname = GbkToWide(name);
    std::wstring buffer(260, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wname.c_str(), buffer.data(),
                                                static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return Text();
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return WideToGbk(buffer);
        }
        buffer.resize(n);  // n is the size needed, with its NUL
    }
}

std::optional<Text> Win32System::ReadRegistryString(RegistryRoot root, const Text& key,
                                                    const Text& valueName) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(RootKey(root), GbkToWide(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring name = GbkToWide(valueName);
    std::wstring data(512, L'\0');  // 1024 bytes first, then what the system reports
    std::optional<Text> result;
    for (;;) {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LONG rc = RegQueryValueExW(handle, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (rc == ERROR_MORE_DATA) {
            data.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
            data.resize(bytes / sizeof(wchar_t));
            while (!data.empty() && data.back() == L'\0') data.pop_back();
            result = WideToGbk(data);
        }
        break;
    }
    RegCloseKey(handle);
    return result;
}

bool Win32System::WriteRegistryString(RegistryRoot root, const Text& key, const Text& valueName,
                                      const Text& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(RootKey(root), GbkToWide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring data = GbkToWide(value);
    const LONG rc = RegSetValueExW(handle, GbkToWide(valueName).c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(data.c_str()),
                                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

Text Win32System::MapToHalfWidth(const Text& t) {
    const std::wstring wide = GbkToWide(t);
    if (wide.empty()) return t;
    const int n = LCMapStringW(kChineseSimplified, LCMAP_HALFWIDTH, wide.data(),
                               static_cast<int>(wide.size()), nullptr, 0);
    if (n <= 0) return t;
    std::wstring mapped(static_cast<size_t>(n), L'\0');
    LCMapStringW(kChineseSimplified, LCMAP_HALFWIDTH, wide.data(), static_cast<int>(wide.size()),
                 mapped.data(), n);
    return WideToGbk(mapped);
}

std::vector<ToolArgument> Win32System::ToolArguments(int /*argc*/, char** /*argv*/) {
    std::vector<ToolArgument> out;
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return out;
    for (int i = 1; i < count; ++i) {
        const std::wstring given = args[i];
        const Text text = WideToGbk(given);
        out.push_back({text, GbkToWide(text) == given, std::filesystem::path(given)});
    }
    LocalFree(args);
    return out;
}

void Win32System::WriteToolOutput(const Text& t, bool toError) {
    HANDLE stream = GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(stream, &mode)) {
        const std::wstring wide = GbkToWide(t);
        WriteConsoleW(stream, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = GbkToUtf8(t);
    WriteFile(stream, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

Text Win32System::DocumentsFolder() {
    PWSTR path = nullptr;
    Text folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path)) && path != nullptr) {
        folder = WideToGbk(path);
    }
    CoTaskMemFree(path);
    return folder;
}

void Win32System::WriteToolBytes(const std::string& bytes) {
    HANDLE stream = GetStdHandle(STD_OUTPUT_HANDLE);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Win32System::ReportProblem(const Text& line) {
    OutputDebugStringW(GbkToWide(line + "\r\n").c_str());
    WriteToolOutput(line + "\n", true);
}

void Win32System::ShowFatalMessage(const Text& message, const Text& caption) {
    MessageBoxW(nullptr, GbkToWide(message).c_str(), GbkToWide(caption).c_str(),
                MB_OK | MB_ICONERROR);
}

void Win32System::StartThreadServices() { CoInitialize(nullptr); }
void Win32System::EndThreadServices() { CoUninitialize(); }
void Win32System::Sleep(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace qh
