// quillmark-bench-settings: what the settings file costs when it is huge.
// Files of empty lines with the section and its six keys at the end (as a
// file padded by a broken tool looks) are read once for the six keys the
// program reads at start, read again the way GetPrivateProfileString does
// it (once per key), and written once. Each step's time and the peak
// resident size it adds are printed.
//
// Target: a 100 MB file read (reader and six lookups) in under two seconds,
// holding about its own size.
//
// Usage: quillmark-bench-settings [MB ...]   (default: 20 100)

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/private_profile.h"

namespace {

using quillmark::platform::GetPrivateProfileString;
using quillmark::platform::PrivateProfileReader;
using quillmark::platform::WritePrivateProfileString;
using Clock = std::chrono::steady_clock;

constexpr int kSucceeded = 0;
constexpr int kWrongValues = 1;
constexpr int kFailed = 2;
constexpr int kTargetMissed = 3;

constexpr double kTargetMb = 100;
constexpr double kTargetSeconds = 2.0;
// "About its size": the file's bytes and a little more.
constexpr double kTargetMemoryFactor = 1.25;

constexpr char kSection[] = "Quillmark";
const std::pair<const char*, const char*> kKeys[] = {
    {"EditorPath", "/usr/bin/editor"}, {"EditorParam", "-n%L \"%F\""}, {"EditorType", "custom"},
    {"FileExt", "c;cpp;h;hpp"},        {"Encoding", "EUC"},             {"FinderRootPath", "/home/user/src"},
};

// What a signal must remove: the folder and the files in it.
char folderToRemove[4096];
char fileToRemove[4096];

void RemoveOnSignal(int signal) {
  ::unlink(fileToRemove);
  ::rmdir(folderToRemove);  // fails while a temporary is in it; the OS cleans /tmp then
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

double Mib(double bytes) { return bytes / (1024.0 * 1024.0); }

long PeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

long ResidentKib() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  long sizePages = 0, residentPages = 0;
  if (statm != nullptr) {
    if (std::fscanf(statm, "%ld %ld", &sizePages, &residentPages) != 2) residentPages = 0;
    std::fclose(statm);
  }
  return residentPages * (sysconf(_SC_PAGESIZE) / 1024);
}

// Brings the peak resident size down to the present one (Linux 4.0 on), so
// that each step's peak can be told from the steps before it.
bool ResetPeakRss() {
  std::FILE* file = std::fopen("/proc/self/clear_refs", "w");
  if (file == nullptr) return false;
  const bool written = std::fputs("5", file) >= 0;
  return std::fclose(file) == 0 && written;
}

struct Step {
  double seconds = 0;
  double peakMib = 0;   // the process's peak resident size during the step
  double addedMib = 0;  // that peak over the resident size at the start
  bool ok = false;
};

double highestPeakMib = 0;

Step Measure(const std::function<bool()>& body) {
  const bool reset = ResetPeakRss();
  const long startKib = ResidentKib();
  const Clock::time_point start = Clock::now();
  Step step;
  step.ok = body();
  step.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  step.peakMib = static_cast<double>(PeakRssKib()) / 1024.0;
  step.addedMib = reset ? step.peakMib - static_cast<double>(startKib) / 1024.0 : -1;
  if (step.peakMib > highestPeakMib) highestPeakMib = step.peakMib;
  return step;
}

std::string Tail() {
  std::string tail = std::string("[") + kSection + "]\n";
  for (const auto& [key, value] : kKeys) tail.append(key).append("=").append(value).append("\n");
  return tail;
}

// Writes `bytes` bytes of empty lines and then the section.
bool GenerateFile(const std::string& path, std::size_t bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::string tail = Tail();
  const std::string block(1 << 20, '\n');
  std::size_t left = bytes > tail.size() ? bytes - tail.size() : 0;
  bool ok = true;
  while (ok && left > 0) {
    const std::size_t count = left < block.size() ? left : block.size();
    ok = ::write(fd, block.data(), count) == static_cast<ssize_t>(count);
    left -= count;
  }
  ok = ok && ::write(fd, tail.data(), tail.size()) == static_cast<ssize_t>(tail.size());
  return ::close(fd) == 0 && ok;
}

void Print(const char* what, double mb, const Step& step) {
  std::printf("  %-34s %8.3f s   max RSS %8.1f MiB, %8.1f MiB over the start (%.2f x the file)%s\n", what,
              step.seconds, step.peakMib, step.addedMib, step.addedMib / Mib(mb * 1e6),
              step.ok ? "" : "  WRONG VALUES");
}

int RunSize(const std::string& folder, double mb, bool& targetMissed) {
  const std::string path = folder + "/quillmark.ini";
  std::snprintf(fileToRemove, sizeof fileToRemove, "%s", path.c_str());
  const auto bytes = static_cast<std::size_t>(mb * 1e6);
  if (!GenerateFile(path, bytes)) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return kFailed;
  }
  std::printf("%.0f MB settings file (%zu empty lines, then the section):\n", mb, bytes - Tail().size());

  const Step reader = Measure([&] {
    const PrivateProfileReader settings(path);
    bool right = true;
    for (const auto& [key, value] : kKeys) right = settings.GetString(kSection, key, "?") == value && right;
    return right;
  });
  Print("reader + six lookups", mb, reader);

  const Step perKey = Measure([&] {
    bool right = true;
    for (const auto& [key, value] : kKeys) right = GetPrivateProfileString(path, kSection, key, "?") == value && right;
    return right;
  });
  Print("six GetPrivateProfileString calls", mb, perKey);

  const Step write = Measure([&] {
    return WritePrivateProfileString(path, kSection, "Encoding", "UTF8") &&
           GetPrivateProfileString(path, kSection, "Encoding", "?") == "UTF8";
  });
  Print("one write (and one read to check)", mb, write);

  ::unlink(path.c_str());
  if (mb >= kTargetMb && reader.addedMib >= 0 &&
      (reader.seconds >= kTargetSeconds || reader.addedMib > kTargetMemoryFactor * Mib(mb * 1e6))) {
    std::printf("  target missed: under %.1f s and about the file's size in memory\n", kTargetSeconds);
    targetMissed = true;
  }
  return reader.ok && perKey.ok && write.ok ? kSucceeded : kWrongValues;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<double> sizesMb;
  for (int i = 1; i < argc; ++i) {
    char* end = nullptr;
    const double mb = std::strtod(argv[i], &end);
    if (end == argv[i] || *end != '\0' || mb <= 0) {
      std::fprintf(stderr, "usage: %s [MB ...]\n", argv[0]);
      return kFailed;
    }
    sizesMb.push_back(mb);
  }
  if (sizesMb.empty()) sizesMb = {20, kTargetMb};

  const char* tmpdir = std::getenv("TMPDIR");
  std::string folder = std::string(tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp") + "/quillmark-settings-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) {
    std::fprintf(stderr, "cannot make a folder %s: %s\n", folder.c_str(), std::strerror(errno));
    return kFailed;
  }
  std::snprintf(folderToRemove, sizeof folderToRemove, "%s", folder.c_str());
  // A fixed threshold keeps every big buffer in its own mapping, given back
  // when it is freed: otherwise malloc keeps one step's file buffer for the
  // next, and that step's peak would not show what it holds.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  std::signal(SIGINT, RemoveOnSignal);
  std::signal(SIGTERM, RemoveOnSignal);
  if (!ResetPeakRss()) std::printf("(the peak resident size cannot be reset here: figures below are not per step)\n");

  int result = kSucceeded;
  bool targetMissed = false;
  for (const double mb : sizesMb) {
    const int outcome = RunSize(folder, mb, targetMissed);
    if (outcome != kSucceeded) result = outcome;
  }
  ::rmdir(folder.c_str());
  std::printf("highest max RSS of any step: %.1f MiB\n", highestPeakMib);
  if (result == kSucceeded && targetMissed) result = kTargetMissed;
  return result;
}
