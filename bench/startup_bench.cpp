// startup_bench.cpp: time from process start to the main window shown, SetRadio.exe against a minimal
// dialog program built the same way, alternating in one run; prints sizes and figures.
// Usage (under Wine): startup_bench.exe [runs] [steps]   (the programs are looked for beside this one)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK Visit(HWND w, LPARAM lParam)
{
    Search *s = (Search *)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == s->pid && IsWindowVisible(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess to a visible top-level window of the new process; -1 on failure.
double TimeToWindow(const std::string &exe, const std::string &dir)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + exe + "\"";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(exe.c_str(), &line[0], 0, 0, FALSE, 0, 0, dir.c_str(), &si, &pi)) return -1;
    Search s = {pi.dwProcessId, 0};
    double ms = -1;
    for (;;) {
        EnumWindows(Visit, (LPARAM)&s);
        QueryPerformanceCounter(&now);
        double elapsed = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
        if (s.found) {
            ms = elapsed;
            break;
        }
        if (elapsed > 20000 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    if (s.found) PostMessageA(s.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ms;
}

long FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (long)data.nFileSizeLow;
}

void Report(const char *name, std::vector<double> v, long size)
{
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    std::printf("%-14s size %6ld bytes  start-up ms: median %7.1f  min %7.1f  mean %7.1f  max %7.1f  (%zu runs)\n",
                name, size, v[v.size() / 2], v.front(), sum / v.size(), v.back(), v.size());
}

// Steps mode: the minimal program, the two steps towards SetRadio.exe and SetRadio.exe, alternating;
// prints each median and what each step adds to the one before.
int TimeSteps(int runs, const std::string &here, const std::string &dir)
{
    const char *names[] = {"startup_minimal.exe", "startup_step1.exe", "startup_step2.exe", "SetRadio.exe"};
    const char *labels[] = {"minimal dialog", "+ DLLs, WinSock, common controls", "+ main dialog template",
                            "+ SetRadio's own start-up"};
    const int count = 4;
    std::vector<std::string> paths;
    for (const char *name : names) {
        paths.push_back(dir + "\\" + name);
        if (!CopyFileA((here + name).c_str(), paths.back().c_str(), FALSE)) {
            std::printf("startup_bench: %s must be built beside this program\n", name);
            return 1;
        }
    }
    for (const std::string &path : paths) TimeToWindow(path, dir);
    std::vector<std::vector<double>> times(count);
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < count; ++k) {
            double ms = TimeToWindow(paths[k], dir);
            if (ms < 0) {
                std::printf("startup_bench: %s did not show its window\n", names[k]);
                return 1;
            }
            times[k].push_back(ms);
        }
    }
    double previous = 0;
    for (int k = 0; k < count; ++k) {
        std::sort(times[k].begin(), times[k].end());
        double median = times[k][times[k].size() / 2];
        std::printf("%-34s median %7.1f ms  min %7.1f  step %+7.1f ms  (%d runs)\n", labels[k], median,
                    times[k].front(), k ? median - previous : 0.0, runs);
        previous = median;
    }
    for (const std::string &path : paths) DeleteFileA(path.c_str());
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    bool steps = argc > 2 && std::string(argv[2]) == "steps";
    char module[MAX_PATH];
    GetModuleFileNameA(0, module, sizeof module);
    std::string here = module;
    here = here.substr(0, here.rfind('\\') + 1);
    // Private copies in a temporary folder, so the settings file of the build is left alone.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "setradio_startup_bench";
    CreateDirectoryA(dir.c_str(), 0);
    if (steps) {
        int result = TimeSteps(runs, here, dir);
        DeleteFileA((dir + "\\SetRadio.ini").c_str());
        RemoveDirectoryA(dir.c_str());
        return result;
    }
    std::string program = dir + "\\SetRadio.exe", minimal = dir + "\\startup_minimal.exe";
    if (!CopyFileA((here + "SetRadio.exe").c_str(), program.c_str(), FALSE) ||
        !CopyFileA((here + "startup_minimal.exe").c_str(), minimal.c_str(), FALSE)) {
        std::printf("startup_bench: SetRadio.exe and startup_minimal.exe must be built beside this program\n");
        return 1;
    }
    // One warm-up start each (first start of a program under Wine loads its DLLs).
    TimeToWindow(minimal, dir);
    TimeToWindow(program, dir);
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        double m = TimeToWindow(minimal, dir), p = TimeToWindow(program, dir);
        if (m < 0 || p < 0) {
            std::printf("startup_bench: a program did not show its window\n");
            return 1;
        }
        a.push_back(m);
        b.push_back(p);
    }
    long sizeMinimal = FileSize(minimal), sizeProgram = FileSize(program);
    Report("minimal dialog", a, sizeMinimal);
    Report("SetRadio.exe", b, sizeProgram);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    // The machine may be shared: the best run of each is the figure least disturbed by other load.
    std::printf("ratio SetRadio/minimal: medians %.2f, best runs %.2f (goal <= 1.2); SetRadio size %.1f KB (goal < 64 KB)\n",
                b[b.size() / 2] / a[a.size() / 2], b.front() / a.front(), sizeProgram / 1024.0);
    DeleteFileA(program.c_str());
    DeleteFileA(minimal.c_str());
    DeleteFileA((dir + "\\SetRadio.ini").c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
