#include <wx/evtloop.h>

#include "app/quillmark_app.h"

namespace quillmark::app {

bool QuillmarkApp::PumpPendingMessages() {
  constexpr int kPasses = 100;
  for (int pass = 0; pass < kPasses; ++pass) {
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive(); loop != nullptr && loop->Pending()) {
      if (!loop->Dispatch()) return false;
    }
    // Events posted with QueueEvent or CallAfter wait here; Dispatch alone
    // never delivers them.
    if (wxTheApp != nullptr) wxTheApp->ProcessPendingEvents();
  }
  return true;
}

}  // namespace quillmark::app
