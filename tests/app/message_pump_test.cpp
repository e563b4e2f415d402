#include <gtest/gtest.h>
#include <wx/evtloop.h>

#include "app/quillmark_app.h"

namespace quillmark::app {
namespace {

TEST(MessagePump, DeliversPostedEventsAndGoesOn) {
  wxEvtHandler handler;
  int calls = 0;
  handler.CallAfter([&] { ++calls; });
  handler.CallAfter([&] { ++calls; });

  EXPECT_TRUE(QuillmarkApp::PumpPendingMessages());
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(QuillmarkApp::PumpPendingMessages()) << "an empty queue still makes its passes";
}

TEST(MessagePump, EventsPostedDuringThePumpAreDeliveredByIt) {
  wxEvtHandler handler;
  std::vector<int> order;
  handler.CallAfter([&] {
    order.push_back(1);
    handler.CallAfter([&] { order.push_back(2); });
  });
  EXPECT_TRUE(QuillmarkApp::PumpPendingMessages());
  EXPECT_EQ(order, (std::vector{1, 2}));
}

}  // namespace
}  // namespace quillmark::app
