// Measures krovelin.exe against its floors under the same conditions and in the same call:
// start-up, opening big folders in its directory box, peak working set, and the exe's size and
// imports. Each figure is taken over several runs with the sides interleaved (A B, B A, ...), and
// given as the median with the smallest and largest values beside it. Ratios are what count:
// the machines are shared and noisy, and a ratio taken in one call cancels most of that.
//
// bench.exe --krovelin EXE --minimal EXE --folders DIR --table FILE --json FILE
//           [--runs N] [--sizes "1000 10000 50000"] [--imports "A.dll B.dll"] [--date TEXT]
//           [--cpu TEXT] [--cores N] [--wine TEXT]
// DIR holds N1000, N10000 and N50000, each with that many subfolders; both programs are expected
// in DIR, so that krovelin.exe shows those folders at start-up. Start-up is timed again from a
// copy of both in C:\Program Files\Krovelin, which is the figure with the goal. --sizes picks
// the folders opened (an empty list: start-up only, for quick looks while profiling).
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
// clang-format on

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kKrovelinClass[] = L"KrovelinMainWindow";
constexpr wchar_t kMinimalClass[] = L"KrovelinBenchMinimal";
constexpr int kDirectoryBoxId = 104;  // 目录框1 in krovelin, the tree view in the floor
constexpr DWORD kLongWait = 600000;   // one sorted insert per node takes minutes at 50,000

// ---- text ------------------------------------------------------------------------------------

std::string utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string format(const char* pattern, ...) {
  char buffer[512];
  va_list arguments;
  va_start(arguments, pattern);
  std::vsnprintf(buffer, sizeof buffer, pattern, arguments);
  va_end(arguments);
  return buffer;
}

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += format("\\u%04x", c);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// A Unix path (/work/...) as Wine's Z: drive sees it; Windows paths pass unchanged.
std::wstring windows_path(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return L"Z:" + path;
}

void say(const std::string& line) {
  std::fprintf(stderr, "bench: %s\n", line.c_str());
  std::fflush(stderr);
}

[[noreturn]] void fail(const std::string& why) {
  say("failed: " + why);
  std::exit(1);
}

// ---- clock -----------------------------------------------------------------------------------

double now_ms() {
  static const double ticks_per_ms = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticks_per_ms;
}

// ---- one run of a program --------------------------------------------------------------------

class Run {
 public:
  Run(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring command_line = L"\"" + exe + L"\"";
    if (!arguments.empty()) command_line += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info_)) {
      fail("could not start " + utf8(exe) + format(" (error %lu)", GetLastError()));
    }
  }
  ~Run() {
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  HANDLE process() const { return info_.hProcess; }

  // Start-up is over when the program waits for input with its main window visible; the sent
  // message comes back once its message loop runs. The window is looked for by class, one
  // request to the window system per look, so that looking does not slow the start it times.
  HWND wait_ready(const wchar_t* window_class) {
    WaitForInputIdle(info_.hProcess, 30000);
    HWND window = nullptr;
    const double give_up = now_ms() + 30000;
    while (!(window = own_window(window_class))) {
      if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) fail("the program ended");
      if (now_ms() > give_up) fail("no window");
      Sleep(2);
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
    return window;
  }

  SIZE_T peak_working_set() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(info_.hProcess, &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize;
  }

 private:
  HWND own_window(const wchar_t* window_class) const {
    for (HWND window = FindWindowExW(nullptr, nullptr, window_class, nullptr); window;
         window = FindWindowExW(nullptr, window, window_class, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == info_.dwProcessId && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }

  PROCESS_INFORMATION info_{};
};

// Lets the program finish what start-up left behind (first paints, posted messages).
void settle(HWND window) {
  for (int i = 0; i < 3; ++i) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
    Sleep(50);
  }
}

HTREEITEM next_item(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Tree view messages that carry pointers are not carried across processes: the text is read
// through memory in the program's own process.
std::wstring node_text(HANDLE process, HWND tree, HTREEITEM item) {
  constexpr int kChars = 512;
  void* block = VirtualAllocEx(process, nullptr, sizeof(TVITEMW) + kChars * sizeof(wchar_t),
                               MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!block) return {};
  TVITEMW query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(block) + sizeof(TVITEMW));
  query.cchTextMax = kChars;
  WriteProcessMemory(process, block, &query, sizeof query, nullptr);
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block));
  std::wstring text(kChars, L'\0');
  ReadProcessMemory(process, query.pszText, text.data(), kChars * sizeof(wchar_t), nullptr);
  VirtualFreeEx(process, block, 0, MEM_RELEASE);
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

// Posts Enter to the tree, as a key press arrives, and waits until the tree holds `expected`
// nodes. Each sent TVM_GETCOUNT is handled only between posted messages, so once the key is
// taken the next one returns after the whole listing.
double time_enter(HWND tree, std::size_t expected) {
  const LPARAM key_data = 1 | (static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)) << 16);
  const double start = now_ms();
  PostMessageW(tree, WM_KEYDOWN, VK_RETURN, key_data);
  for (;;) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, kLongWait, &count)) {
      fail("the listing did not end");
    }
    if (count == expected) break;
    if (now_ms() - start > kLongWait) fail(format("the tree holds %zu nodes, not %zu",
                                                  static_cast<std::size_t>(count), expected));
  }
  const double elapsed = now_ms() - start;
  PostMessageW(tree, WM_KEYUP, VK_RETURN, key_data | (3LL << 30));
  return elapsed;
}

// ---- figures ---------------------------------------------------------------------------------

struct Spread {
  double median = 0, min = 0, max = 0;
};

Spread spread(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  Spread s;
  if (n == 0) return s;
  s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  s.min = values.front();
  s.max = values.back();
  return s;
}

std::vector<double> ratios(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> out;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) out.push_back(a[i] / b[i]);
  return out;
}

struct Figure {
  std::string name;
  std::string unit;
  std::string against;  // what the second column holds
  std::vector<double> krovelin, floor;
  std::optional<double> goal;  // the ratio's upper bound; none: printed only
};

struct Settings {
  std::wstring krovelin, minimal, folders, table, json, imports;
  std::string date, cpu, cores, wine;
  int runs = 5;
  std::vector<std::size_t> sizes = {1000, 10000, 50000};
};

// A program started and waiting, its tree view ready for the Enter that opens a folder.
struct Opener {
  std::unique_ptr<Run> run;
  HWND window = nullptr;
  HWND tree = nullptr;
  std::size_t expected = 0;  // the tree's node count once the folder is listed

  double open() const {
    const double elapsed = time_enter(tree, expected);
    settle(window);  // the repaint that follows stays out of the next side's time
    return elapsed;
  }
};

struct Measure {
  Settings settings;

  std::wstring folder(std::size_t n) const {
    return settings.folders + L"\\N" + std::to_wstring(n);
  }

  double start_up(const std::wstring& exe, const wchar_t* window_class,
                  const std::wstring& folder) const {
    const double start = now_ms();
    Run run(exe, L"", folder);
    run.wait_ready(window_class);
    return now_ms() - start;
  }

  // krovelin.exe at start-up shows its own folder, DIR, with N1000 ... as subfolder nodes; the
  // one to open is selected, as a click on it would.
  Opener krovelin(std::size_t n) const {
    Opener o;
    o.run = std::make_unique<Run>(settings.krovelin, L"", settings.folders);
    o.window = o.run->wait_ready(kKrovelinClass);
    o.tree = GetDlgItem(o.window, kDirectoryBoxId);
    settle(o.window);
    const HTREEITEM current = next_item(o.tree, nullptr, TVGN_CARET);
    std::size_t path_nodes = 1;
    for (HTREEITEM up = next_item(o.tree, current, TVGN_PARENT); up;
         up = next_item(o.tree, up, TVGN_PARENT)) {
      ++path_nodes;
    }
    const std::wstring name = L"N" + std::to_wstring(n);
    HTREEITEM node = next_item(o.tree, current, TVGN_CHILD);
    while (node && node_text(o.run->process(), o.tree, node) != name) {
      node = next_item(o.tree, node, TVGN_NEXT);
    }
    if (!node) fail("krovelin.exe does not show " + utf8(name) + " below its own folder");
    SendMessageW(o.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    settle(o.window);
    // The opened folder becomes one more path node, with its n subfolders below.
    o.expected = path_nodes + 1 + n;
    return o;
  }

  Opener minimal(std::size_t n, const wchar_t* how) const {
    Opener o;
    o.run = std::make_unique<Run>(settings.minimal, std::wstring(how) + L" \"" + folder(n) + L"\"",
                                  settings.folders);
    o.window = o.run->wait_ready(kMinimalClass);
    o.tree = GetDlgItem(o.window, kDirectoryBoxId);
    settle(o.window);
    o.expected = n;
    return o;
  }
};

// The sides of one round, one after the other; which goes first alternates from round to round,
// so that neither always profits from caches the other has just filled.
void in_turn(int round, const std::function<void()>& a, const std::function<void()>& b) {
  if (round % 2 == 0) {
    a();
    b();
  } else {
    b();
    a();
  }
}

std::string spread_text(const Spread& s, int decimals) {
  return format("%.*f (%.*f-%.*f)", decimals, s.median, decimals, s.min, decimals, s.max);
}

std::string pad(std::string text, std::size_t width) {
  std::size_t shown = 0;  // characters, not bytes
  for (unsigned char c : text) shown += (c & 0xC0) != 0x80;
  if (shown < width) text.append(width - shown, ' ');
  return text;
}

std::string thousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::vector<std::wstring> split_words(const std::wstring& text) {
  std::vector<std::wstring> words;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find_first_of(L" ,", at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return words;
}

bool is_system_dll(const std::wstring& name) {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return GetFileAttributesW((std::wstring(folder) + L"\\" + name).c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

Settings parse(int argc, wchar_t** argv) {
  Settings s;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    const std::wstring value = argv[i + 1];
    if (option == L"--krovelin") s.krovelin = windows_path(value);
    else if (option == L"--minimal") s.minimal = windows_path(value);
    else if (option == L"--folders") s.folders = windows_path(value);
    else if (option == L"--table") s.table = windows_path(value);
    else if (option == L"--json") s.json = windows_path(value);
    else if (option == L"--imports") s.imports = value;
    else if (option == L"--runs") s.runs = std::max(1, _wtoi(value.c_str()));
    else if (option == L"--date") s.date = utf8(value);
    else if (option == L"--cpu") s.cpu = utf8(value);
    else if (option == L"--cores") s.cores = utf8(value);
    else if (option == L"--wine") s.wine = utf8(value);
    else if (option == L"--sizes") {
      s.sizes.clear();
      for (const std::wstring& word : split_words(value)) s.sizes.push_back(_wtoi(word.c_str()));
    }
    else fail("unknown option " + utf8(option));
  }
  if (s.krovelin.empty() || s.minimal.empty() || s.folders.empty() || s.table.empty() ||
      s.json.empty()) {
    fail("usage: bench.exe --krovelin EXE --minimal EXE --folders DIR --table FILE --json FILE");
  }
  return s;
}

// Copies both programs to C:\Program Files\Krovelin (wherever the prefix keeps its programs)
// and returns that folder.
std::wstring install_both(const Settings& settings) {
  wchar_t programs[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"ProgramFiles", programs, MAX_PATH)) fail("no ProgramFiles");
  const std::wstring folder = std::wstring(programs) + L"\\Krovelin";
  CreateDirectoryW(folder.c_str(), nullptr);
  if (!CopyFileW(settings.krovelin.c_str(), (folder + L"\\krovelin.exe").c_str(), FALSE) ||
      !CopyFileW(settings.minimal.c_str(), (folder + L"\\minimal.exe").c_str(), FALSE)) {
    fail("could not copy the programs to " + utf8(folder));
  }
  return folder;
}

void write_file(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail("could not write " + utf8(path));
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Measure m{parse(argc, argv)};
  const int runs = m.settings.runs;
  std::vector<Figure> figures;

  // Start-up: a fresh process each run, after one round that is not counted (it fills the file
  // system's caches and Wine's). Start-up is short and the noisiest figure, so it takes three
  // times the runs. The goal is timed where the tool is installed, C:\Program Files\Krovelin
  // holding the two programs and nothing else, the same on every machine. Started from the
  // benchmark's own folder instead, krovelin shows as many path nodes as the checkout is deep
  // and the three big folders below them, more than its boxes hold; that start is shown beside
  // it, since each box then paints a scroll bar, which Wine draws at some milliseconds a time.
  const std::wstring installed = install_both(m.settings);
  const auto start_up_figure = [&](const std::string& name, const std::wstring& krovelin,
                                   const std::wstring& minimal, const std::wstring& folder,
                                   std::optional<double> goal) {
    Figure f{name, "ms", "minimal window", {}, {}, goal};
    for (int round = 0; round <= 3 * runs; ++round) {
      double a = 0, b = 0;
      in_turn(round, [&] { a = m.start_up(krovelin, kKrovelinClass, folder); },
              [&] { b = m.start_up(minimal, kMinimalClass, folder); });
      if (round > 0) {
        f.krovelin.push_back(a);
        f.floor.push_back(b);
      }
    }
    figures.push_back(f);
  };
  say("start-up");
  start_up_figure("start-up to an idle, visible window", installed + L"\\krovelin.exe",
                  installed + L"\\minimal.exe", installed, 1.25);
  start_up_figure("start-up, its folder overflowing the boxes", m.settings.krovelin,
                  m.settings.minimal, m.settings.folders, std::nullopt);

  // Opening big folders: krovelin against the floor (enumerate, sort once, append) and against
  // one sorted insert per node. Each round starts fresh programs, all of them before any is
  // timed, then times the first open in each, one right after the other. The sorted inserts grow with
  // the square of the count: they run five rounds at most, and not at 50,000, where one would
  // take many minutes.
  std::map<std::size_t, std::vector<double>> krovelin_open;
  std::vector<double> krovelin_peak, minimal_peak;
  std::vector<Figure> sorted_figures;
  for (std::size_t n : m.settings.sizes) {
    say(format("opening a folder of %zu subfolders", n));
    const std::string count = thousands(n);
    Figure append{"open a folder of " + count + " subfolders", "ms", "enumerate+sort+append",
                  {}, {}, 1.3};
    Figure sorted{"open " + count + ", vs one sorted insert per node", "ms",
                  "TVI_SORT per node", {}, {}, std::nullopt};
    const int sorted_rounds = n <= 10000 ? std::min(runs, 5) : 0;
    for (int round = 0; round <= runs; ++round) {
      const bool counted = round > 0;
      const bool with_sorted = counted && round <= sorted_rounds;
      Opener k = m.krovelin(n);
      Opener f = m.minimal(n, L"append");
      std::optional<Opener> naive;
      if (with_sorted) naive = m.minimal(n, L"sorted-insert");
      double a = 0, b = 0;
      in_turn(round, [&] { a = k.open(); }, [&] { b = f.open(); });
      if (!counted) continue;
      append.krovelin.push_back(a);
      append.floor.push_back(b);
      if (naive) {
        sorted.krovelin.push_back(a);
        sorted.floor.push_back(naive->open());
      }
      if (n == 1000) {
        krovelin_peak.push_back(static_cast<double>(k.run->peak_working_set()) / (1024.0 * 1024.0));
        minimal_peak.push_back(static_cast<double>(f.run->peak_working_set()) / (1024.0 * 1024.0));
      }
    }
    krovelin_open[n] = append.krovelin;
    figures.push_back(append);
    if (sorted_rounds > 0) sorted_figures.push_back(sorted);
  }

  // Time per 1,000 nodes at 50,000 against the same at 1,000, run by run.
  if (krovelin_open.count(1000) && krovelin_open.count(50000)) {
    Figure f{"ms per 1,000 nodes: at 50,000 vs at 1,000", "ms", "at 1,000", {}, {}, 2.0};
    for (double t : krovelin_open[50000]) f.krovelin.push_back(t / 50.0);
    f.floor = krovelin_open[1000];
    figures.push_back(f);
  }
  for (const Figure& f : sorted_figures) figures.push_back(f);
  if (!krovelin_peak.empty()) {
    figures.push_back({"peak working set, 1,000 subfolders open", "MiB", "minimal + 1,000 nodes",
                       krovelin_peak, minimal_peak, 1.25});
  }

  // Size and imports.
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExW(m.settings.krovelin.c_str(), GetFileExInfoStandard, &attributes);
  const unsigned long long bytes =
      (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
  const std::vector<std::wstring> imports = split_words(m.settings.imports);
  std::vector<std::wstring> foreign;
  for (const std::wstring& dll : imports)
    if (!is_system_dll(dll)) foreign.push_back(dll);
  const bool size_met = bytes <= 150 * 1024 && !imports.empty() && foreign.empty();

  // The table.
  std::string table = "krovelin benchmarks: " + m.settings.date + "; " + m.settings.cores +
                      " x " + m.settings.cpu + "; " + m.settings.wine + "; " +
                      format("median (min-max) of %d runs, start-up %d; the sides interleaved\n\n", runs,
                             3 * runs);
  const std::size_t widths[] = {44, 26, 22, 24, 18, 15};
  const auto row = [&](const std::vector<std::string>& cells) {
    std::string line = "|";
    for (std::size_t i = 0; i < cells.size(); ++i) line += " " + pad(cells[i], widths[i]) + " |";
    table += line + "\n";
  };
  row({"figure", "krovelin", "against", "floor", "ratio", "goal"});
  {
    std::string line = "|";
    for (std::size_t w : widths) line += std::string(w + 2, '-') + "|";
    table += line + "\n";
  }
  std::string json = "{\n  \"date\": " + json_string(m.settings.date) +
                     ",\n  \"machine\": {\"cores\": " + json_string(m.settings.cores) +
                     ", \"cpu\": " + json_string(m.settings.cpu) +
                     ", \"wine\": " + json_string(m.settings.wine) + "},\n" +
                     format("  \"runs\": %d,\n  \"start_up_runs\": %d,\n  \"figures\": [\n", runs,
                            3 * runs);
  bool all_met = true;
  for (std::size_t i = 0; i < figures.size(); ++i) {
    const Figure& f = figures[i];
    const Spread a = spread(f.krovelin), b = spread(f.floor), r = spread(ratios(f.krovelin, f.floor));
    const int decimals = f.unit == "MiB" ? 1 : f.krovelin.empty() || a.median >= 100 ? 0 : 1;
    std::string goal = "(shown)";
    bool met = true;
    if (f.goal) {
      met = r.median <= *f.goal;
      all_met = all_met && met;
      goal = format("<= %g %s", *f.goal, met ? "met" : "MISSED");
    }
    row({f.name, spread_text(a, decimals) + " " + f.unit, f.against,
         spread_text(b, decimals) + " " + f.unit, spread_text(r, 2), goal});
    const auto series = [&](const std::vector<double>& values, const Spread& s) {
      std::string out = format("{\"median\": %.4f, \"min\": %.4f, \"max\": %.4f, \"runs\": [",
                               s.median, s.min, s.max);
      for (std::size_t k = 0; k < values.size(); ++k) out += format(k ? ", %.4f" : "%.4f", values[k]);
      return out + "]}";
    };
    json += "    {\"figure\": " + json_string(f.name) + ", \"unit\": " + json_string(f.unit) +
            ", \"against\": " + json_string(f.against) +
            ",\n     \"krovelin\": " + series(f.krovelin, a) +
            ",\n     \"floor\": " + series(f.floor, b) +
            ",\n     \"ratio\": " + series(ratios(f.krovelin, f.floor), r) +
            (f.goal ? format(",\n     \"goal\": %.4f, \"met\": %s", *f.goal, met ? "true" : "false")
                    : std::string(",\n     \"goal\": null")) +
            "}" + (i + 1 < figures.size() ? ",\n" : "\n");
  }
  std::string import_list;
  for (const std::wstring& dll : imports) import_list += (import_list.empty() ? "" : " ") + utf8(dll);
  std::string foreign_list;
  for (const std::wstring& dll : foreign) foreign_list += " " + utf8(dll);
  row({"size of krovelin.exe", format("%llu bytes (%.1f KiB)", bytes, bytes / 1024.0),
       "150 KiB", "", format("%.2f", bytes / (150.0 * 1024)),
       size_met ? "met" : "MISSED"});
  all_met = all_met && size_met;
  table += "\nimports of krovelin.exe: " + import_list +
           (foreign.empty() ? " (all in Windows' system folder)\n"
                            : "\nNOT Windows' own:" + foreign_list + "\n");
  if (std::find(m.settings.sizes.begin(), m.settings.sizes.end(), 50000) != m.settings.sizes.end()) {
    table += "one sorted insert per node is not run at 50,000: its time grows with the square of "
             "the count (some 25 times the 10,000 figure, per run)\n";
  }
  table += all_met ? "every goal met\n" : "some goal MISSED\n";

  std::string json_imports;
  for (const std::wstring& dll : imports)
    json_imports += (json_imports.empty() ? "" : ", ") + json_string(utf8(dll));
  json += "  ],\n  \"size\": {" + format("\"bytes\": %llu, \"goal\": %d, ", bytes, 150 * 1024) +
          "\"imports\": [" + json_imports + "], \"imports_all_system\": " +
          (foreign.empty() ? "true" : "false") + ", \"met\": " + (size_met ? "true" : "false") +
          "},\n  \"all_met\": " + (all_met ? "true" : "false") + "\n}\n";

  write_file(m.settings.table, table);
  write_file(m.settings.json, json);
  return 0;
}
