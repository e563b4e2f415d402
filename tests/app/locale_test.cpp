// The locale the program starts with (the suite's main starts it as the
// program does).
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace quillmark::testing {
namespace {

std::string Current(int category) { return std::setlocale(category, nullptr); }

TEST(StartUpLocale, MessagesFollowTheEnvironmentAndNumbersStayC) {
  const std::string atStart = Current(LC_MESSAGES);
  const char* fromEnvironment = std::setlocale(LC_MESSAGES, "");
  const std::string expected = fromEnvironment != nullptr ? fromEnvironment : "C";
  std::setlocale(LC_MESSAGES, atStart.c_str());

  EXPECT_EQ(atStart, expected);
  EXPECT_EQ(Current(LC_NUMERIC), "C");
}

}  // namespace
}  // namespace quillmark::testing
