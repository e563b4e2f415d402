// Records the program's message boxes instead of showing them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/message_box.h"

namespace quillmark::testing {

struct RecordedMessage {
  std::string text;
  app::MessageIcon icon;

  friend bool operator==(const RecordedMessage&, const RecordedMessage&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const RecordedMessage& message) {
  return out << '"' << message.text << '"'
             << (message.icon == app::MessageIcon::Warning ? " (warning)" : " (information)");
}

class MessageRecorder {
 public:
  MessageRecorder()
      : previous_(app::ReplaceMessageBox([this](const std::string& text, app::MessageIcon icon) {
          messages.push_back({text, icon});
          if (onMessage) onMessage(messages.back());
        })) {}
  ~MessageRecorder() { app::ReplaceMessageBox(std::move(previous_)); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  std::vector<RecordedMessage> messages;
  // Runs while the box would be open.
  std::function<void(const RecordedMessage&)> onMessage;

 private:
  app::MessageBoxFunction previous_;
};

inline RecordedMessage Information(std::string text) { return {std::move(text), app::MessageIcon::Information}; }
inline RecordedMessage Warning(std::string text) { return {std::move(text), app::MessageIcon::Warning}; }

}  // namespace quillmark::testing
