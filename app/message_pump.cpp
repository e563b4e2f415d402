#include <wx/evtloop.h>

#include "app/quillmark_app.h"

namespace quillmark::app {

bool QuillmarkApp::PumpPendingMessages() {
  constexpr int kPasses = 100;
  for (int pass = 0; pass < kPasses; ++pass) {
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    const bool pending = loop != nullptr && loop->Pending();
    if (pending && !loop->Dispatch()) return false;
    // Events posted with QueueEvent or CallAfter wait here; Dispatch alone
    // never delivers them.
    const bool posted = wxTheApp != nullptr && wxTheApp->HasPendingEvents();
    if (posted) wxTheApp->ProcessPendingEvents();
    // The passes left would find the queue as empty as this one: asking
    // the display again costs a round trip each, which at a search's
    // thousands of folders outweighs the scan itself.
    if (!pending && !posted) break;
  }
  return true;
}

}  // namespace quillmark::app
