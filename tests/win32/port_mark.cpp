// port_mark COMn TEXT: writes TEXT and a line feed to \\.\COMn; exit 0 when all of it
// went out. No Qt, no overlapped I/O: the plainest use of the port.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: port_mark COMn TEXT\n");
        return 2;
    }
    const std::string path = std::string("\\\\.\\") + argv[1];
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "port_mark: cannot open %s (error %lu)\n", path.c_str(), ::GetLastError());
        return 1;
    }
    const std::string text = std::string(argv[2]) + "\n";
    DWORD written = 0;
    const bool ok = ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    ::CloseHandle(h);
    return ok ? 0 : 1;
}
