// Watching folders for what happens to their entries while a test runs.
#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quillmark::testing {

class FileEvents {
 public:
  FileEvents() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
  ~FileEvents() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileEvents(const FileEvents&) = delete;
  FileEvents& operator=(const FileEvents&) = delete;

  bool Works() const { return fd_ >= 0; }

  // Watches `path` (a folder reports on its entries too) for `mask`.
  bool Watch(const std::string& path, std::uint32_t mask) {
    const int watch = inotify_add_watch(fd_, path.c_str(), mask);
    if (watch < 0) return false;
    paths_[watch] = path;
    return true;
  }

  // Watches `folder` and every real folder below it.
  bool WatchTree(const std::string& folder, std::uint32_t mask) {
    bool all = Watch(folder, mask);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (entry.is_directory() && !entry.is_symlink()) all = Watch(entry.path().string(), mask) && all;
    }
    return all;
  }

  // The events since the last call, each as its watched path, "/" and the
  // entry's name when it has one, then ": " and the event's mask in hex.
  std::vector<std::string> Take() {
    std::vector<std::string> events;
    alignas(inotify_event) char buffer[16 * 1024];
    for (ssize_t count; (count = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < count;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        std::string text = paths_[event->wd];
        if (event->len > 0) text += "/" + std::string(event->name);
        char mask[16];
        std::snprintf(mask, sizeof mask, ": %x", event->mask);
        events.push_back(text + mask);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return events;
  }

 private:
  int fd_;
  std::map<int, std::string> paths_;
};

}  // namespace quillmark::testing
